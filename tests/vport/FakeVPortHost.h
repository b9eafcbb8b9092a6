#pragma once

// A machine for the driver logic: loop devices, mounts and the boot id are
// kept in this object, so the driver runs without root and a "restart" is
// one call. Counters let tests see what the driver did to the machine.

#include <cerrno>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "VPortHost.h"

namespace kvtest {

class FakeVPortHost : public vport::TVPortHost {
public:
    int loopError = 0;        // what LoopUsable answers
    int freeLoops = 64;       // loop devices that can still be attached
    vport::TMountKind mountKind = vport::TMountKind::Fuse;
    std::string bootId = "boot-1";
    std::map<std::string, std::string> attached;  // node -> image
    std::set<std::string> mounted;                // folders
    int attachCalls = 0;
    int nextLoop = 100;

    int LoopUsable() override { return loopError; }

    std::string Attach(int, const std::string& imagePath) override
    {
        ++attachCalls;
        if (freeLoops <= 0)
            throw vport::TVPortError(vport::kEnSystemCallFailed, ENOSPC, "No free loop device");
        --freeLoops;
        std::string node = "/dev/loop" + std::to_string(nextLoop++);
        attached[node] = imagePath;
        return node;
    }

    void Detach(const std::string& node) override
    {
        if (attached.erase(node))
            ++freeLoops;
    }

    std::string BackingFile(const std::string& node) override
    {
        auto it = attached.find(node);
        return it == attached.end() ? std::string() : it->second;
    }

    class Job : public vport::TVPortHost::TMountJob {
    public:
        explicit Job(vport::TMountKind kind) : kind_(kind) {}
        vport::TMountKind Finish() override { return kind_; }

    private:
        vport::TMountKind kind_;
    };

    std::unique_ptr<TMountJob> StartMount(const std::string&, const std::string&,
                                          const std::string& folder) override
    {
        if (mountKind != vport::TMountKind::None)
            mounted.insert(folder);
        return std::make_unique<Job>(mountKind);
    }

    void Unmount(const std::string& folder) override { mounted.erase(folder); }

    std::string BootId() override { return bootId; }

    // Everything a restart of the machine forgets.
    void Restart()
    {
        freeLoops += static_cast<int>(attached.size());
        attached.clear();
        mounted.clear();
        bootId += "+";
    }
};

}  // namespace kvtest
