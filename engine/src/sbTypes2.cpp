#include "sbTypes2.h"

void InitActionOptions(TsbActionOptions& r)
{
    r.BurnFromFile = false;
    r.SourceFileImage.clear();
    r.NeedDiscErase = false;
}

void InitDiscSizeInfo(TsbDiscSizeInfo& r)
{
    r.FreeOnDisc = 0;
    r.TotalDiscSize = 0;
    r.OccupDiscSize = 0;
    r.TotalFreeSectors = 0;
}

void InitReadModes(TsbReadModes& r)
{
    r = TsbReadModes{};
}

void InitWriteModes(TsbWriteModes& r)
{
    r.IsTrackAtOnce = true;
    r.IsSessionAtOnce = true;
    r.IsDiscAtOncePQ = true;
    r.IsDiscAtOnceRawPW = true;
}

void InitFileImageFormat(TsbFileImageFormat& r)
{
    r.FileImageType = fitIso;
    r.VolumeSize = 0;
}

void InitFileImageProgressVars(TsbFileImageProgressVars& r)
{
    r = TsbFileImageProgressVars{};
    r.FileHandle = ~uintptr_t(0);
}

void InitDVDRPC(TsbDVDRPC& r)
{
    r = TsbDVDRPC{};
}

void InitVPortDeviceType(TsbVPortDeviceType& r)
{
    r.TargetID = -1;
    r.VPORT_DEVICE_TYPE = VPORT_DEVICE_TYPE_UNKNOWN;
    r.VendorID.clear();
    r.ProductID.clear();
    r.Revision.clear();
    r.DeviceLetter.clear();
    r.DriveLabel.clear();
}

void InitVPortOptions(TsbVPortOptions& r)
{
    r.Action = spaMount;
    r.IPAddress = "127.0.0.1";
    r.IPPort = 3260;
    r.TargetName.clear();
    InitVPortDeviceType(r.VPortDeviceType);
}
