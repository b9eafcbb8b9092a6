#include "sbEngineUnits.h"

#include "sbActions.h"
#include "sbCallBackEventer.h"
#include "sbLogger.h"

void sbEngineInitialize()
{
    if (!sbLogger) sbLogger = new TsbLogger();
    if (!sbCallBackEventer) {
        GrabInProgress = false;
        sbCallBackEventer = new TsbCallBackEventer();
    }
}

void sbEngineFinalize()
{
    sbRemoveReservedTempFiles();
    delete sbCallBackEventer;
    sbCallBackEventer = nullptr;
    delete sbLogger;
    sbLogger = nullptr;
}
