#include "LanguageStartup.h"

#include "BrmLangTranslator.h"
#include "KVBStrings.h"
#include "KVLanguages.h"
#include "KVStrings.h"
#include "brm_lang2.h"

void InitializeLanguageSupport(const std::string& exeDir)
{
    KVBStrings_Initialize();
    KVStrings_Initialize();
    brm_lang2_Initialize();
    InstallBrmLangTranslator();
    KVLanguages_Initialize(exeDir);
}

void FinalizeLanguageSupport()
{
    KVLanguages_Finalize();
    KVStrings_Finalize();
    KVBStrings_Finalize();
}
