// Where the burn and blank calls of a grabber write, and the grabber's view
// of its disc after a write.

#include "BurnWriter.h"

#include "Grabber.h"
#include "SdkError.h"

namespace kvsdk {

BurnTarget GrabberBurnTarget(void* grabber, const char* function) {
    Grabber& g = GrabberOf(grabber);
    g.TheDrive->CheckCall(function);
    BurnTarget target;
    target.Callback = g.Callback;
    target.Context = g.Context;
    target.Path = g.Entry.Path;
    switch (g.Entry.Source) {
    case DriveEntry::Kind::Host:
        target.Type = BurnTarget::Kind::HostDrive;
        break;
    case DriveEntry::Kind::Image:
        target.Type = BurnTarget::Kind::ImageFile;
        break;
    case DriveEntry::Kind::Scripted:
        throw SdkError(EN_NOT_IMPLEMENTED, "Drive " + g.Entry.Name + " is a scripted drive and cannot write");
    case DriveEntry::Kind::Virtual:
        throw SdkError(EN_NOT_IMPLEMENTED,
                       "Drive " + g.Entry.Name + " is a virtual DVD device over a read-only image and cannot write");
    }
    return target;
}

void RefreshGrabberDisc(void* grabber) {
    Grabber* g = FindObjectAs<Grabber>(grabber);
    if (g == nullptr || g->Entry.Source != DriveEntry::Kind::Image)
        return;
    // The image changed under the drive: open it again, so the drive reads
    // what was written. An image that cannot be opened now (a blanked,
    // empty one) leaves the drive as it was.
    try {
        g->TheDrive = OpenDrive(g->Entry);
    } catch (const SdkError&) {
    }
}

}  // namespace kvsdk
