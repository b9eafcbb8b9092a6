#include "sbCallBackEventer.h"

TsbCallBackEventer* sbCallBackEventer = nullptr;
bool GrabInProgress = false;

void TsbCallBackEventer::DoFileTreeAdd(const std::string& AName, void* ANode)
{
    if (OnFileTreeAdd) OnFileTreeAdd(this, AName, ANode);
}

void TsbCallBackEventer::DoFileTreeRemove(const std::string& AName, void* ANode)
{
    if (OnFileTreeRemove) OnFileTreeRemove(this, AName, ANode);
}

void TsbCallBackEventer::DoWriteProgress(int32_t APercent)
{
    if (OnWriteProgress) OnWriteProgress(this, APercent);
}

void TsbCallBackEventer::DoBufferStatus(int32_t ABufferStatusPercent)
{
    if (OnBufferStatus) OnBufferStatus(this, ABufferStatusPercent);
}

void TsbCallBackEventer::DoAllowCancelWrite(bool Allow)
{
    if (OnAllowCancelWrite) OnAllowCancelWrite(this, Allow);
}

void TsbCallBackEventer::DoBufferDisable()
{
    if (OnBufferDisable) OnBufferDisable(this);
}
