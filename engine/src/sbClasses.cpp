#include "sbClasses.h"

TsbDeviceItem::TsbDeviceItem(TObject* ACollection) : TsbCollectionItem(ACollection)
{
    InitDiscSizeInfo(DiscSizeInfo);
    InitReadModes(ReadModes);
    InitWriteModes(WriteModes);
    InitDVDRPC(DVDRPC);
}
