#include "GrabFixture.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "sbEngineUnits.h"

namespace grabtest {

namespace {

// The engine's logger and progress fan-out exist for the whole test
// process, as they do in the program.
class EngineUnitsEnvironment : public ::testing::Environment {
public:
    void SetUp() override { sbEngineInitialize(); }
    void TearDown() override { sbEngineFinalize(); }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new EngineUnitsEnvironment);

std::string msf(int frames)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", frames / 4500, frames / 75 % 60, frames % 75);
    return text;
}

}  // namespace

ThreeTrackDisc::ThreeTrackDisc(const std::string& folder)
{
    const int sectors[3] = {30, 40, 50};
    std::string cue = "FILE \"disc.bin\" BINARY\n";
    std::string bin;
    int start = 0;
    for (int t = 0; t < 3; ++t) {
        std::string& track = tracks_[size_t(t)];
        track.resize(size_t(sectors[t]) * 2048);
        for (size_t i = 0; i < track.size(); ++i)
            track[i] = char((t + 1) * 53 + i / 2048 * 7 + i % 251);
        char head[64];
        std::snprintf(head, sizeof head, "  TRACK %02d MODE1/2048\n", t + 1);
        cue += head;
        cue += "    INDEX 01 " + msf(start) + "\n";
        bin += track;
        start += sectors[t];
    }
    kvtest::writeFile(folder + "/disc.bin", bin);
    cue_ = folder + "/disc.cue";
    kvtest::writeFile(cue_, cue);
}

MessageCatcher::MessageCatcher()
{
    timer_.setInterval(5);
    connect(&timer_, &QTimer::timeout, this, [this] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        shown_.push_back({box->text(), box->icon()});
        if (QAbstractButton* ok = box->button(QMessageBox::Ok))
            ok->click();
        else
            box->reject();
    });
    timer_.start();
}

std::vector<std::string> FileNames(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace grabtest
