// The exported file-tree and image-build functions of burnkit.h.

#include "FileTree.h"
#include "FileTreeNames.h"
#include "SdkError.h"
#include "burnkit.h"

#include <string>

using namespace kvsdk;

namespace {

std::string Text(const char* text) {
    return text != nullptr ? text : "";
}

std::string WideText(const BURNKIT_WCHAR* text) {
    std::u16string wide;
    if (text != nullptr)
        for (const BURNKIT_WCHAR* p = text; *p != 0; ++p)
            wide += static_cast<char16_t>(*p);
    return Utf16ToUtf8(wide);
}

}  // namespace

extern "C" {

EXCEPTION_NUMBER Burnkit_ISO9660JolietFileTree_Create(void** FileTree, char* ExceptionText,
                                                      uint32_t ExceptionTextSize, uint32_t* SystemError,
                                                      BURNKIT_CALLBACK Callback, void* Context,
                                                      uint32_t FileSystemType, uint8_t IsISO9660Level2) {
    ErrorBlock eb{ExceptionText, ExceptionTextSize, SystemError, nullptr};
    return Guard(eb, [&] {
        if (FileTree == nullptr)
            throw SdkError(EN_INVALID_INPUT_PARAMETER, "No place for the file tree handle");
        *FileTree = nullptr;
        auto* tree = new kvsdk::FileTree(FileSystemType, IsISO9660Level2 != 0, Callback, Context);
        *FileTree = static_cast<SdkObject*>(tree);
    });
}

EXCEPTION_NUMBER Burnkit_ISO9660JolietFileTree_AddFile(void* FileTree, char* ExceptionText,
                                                       uint32_t ExceptionTextSize, uint32_t* SystemError,
                                                       const char* SourceFile, const char* TreeFolder,
                                                       const char* Name) {
    ErrorBlock eb{ExceptionText, ExceptionTextSize, SystemError, nullptr};
    return Guard(eb, [&] {
        if (SourceFile == nullptr || *SourceFile == '\0')
            throw SdkError(EN_INVALID_INPUT_PARAMETER, "No source file given");
        FileTreeFromHandle(FileTree).AddFile(SourceFile, Text(TreeFolder), Text(Name));
    });
}

EXCEPTION_NUMBER Burnkit_ISO9660JolietFileTree_AddFolder(void* FileTree, char* ExceptionText,
                                                         uint32_t ExceptionTextSize, uint32_t* SystemError,
                                                         const char* SourceFolder, const char* TreeFolder,
                                                         const char* Name) {
    ErrorBlock eb{ExceptionText, ExceptionTextSize, SystemError, nullptr};
    return Guard(eb, [&] { FileTreeFromHandle(FileTree).AddFolder(Text(SourceFolder), Text(TreeFolder), Text(Name)); });
}

EXCEPTION_NUMBER Burnkit_ISO9660JolietFileTree_RemoveNode(void* FileTree, char* ExceptionText,
                                                          uint32_t ExceptionTextSize, uint32_t* SystemError,
                                                          const char* TreePath) {
    ErrorBlock eb{ExceptionText, ExceptionTextSize, SystemError, nullptr};
    return Guard(eb, [&] { FileTreeFromHandle(FileTree).Remove(Text(TreePath)); });
}

EXCEPTION_NUMBER Burnkit_ISO9660JolietFileTree_SetBootImage(void* FileTree, const char* BootImage,
                                                            uint32_t EmulationType, uint32_t PlatformId,
                                                            uint32_t LoadSectorCount, uint32_t IsBootInfoTable,
                                                            char* ExceptionText, uint32_t ExceptionTextSize,
                                                            uint32_t* SystemError) {
    ErrorBlock eb{ExceptionText, ExceptionTextSize, SystemError, nullptr};
    return Guard(eb, [&] {
        FileTreeFromHandle(FileTree).SetBootImage(Text(BootImage), EmulationType, PlatformId, LoadSectorCount,
                                                  IsBootInfoTable != 0);
    });
}

EXCEPTION_NUMBER Burnkit_ISO9660JolietFileTree_BuildImage(void* FileTree, char* ExceptionText,
                                                          uint32_t ExceptionTextSize, uint32_t* SystemError,
                                                          int32_t StartAddress, uint32_t Flags, uint8_t IsJoliet,
                                                          const char* VolumeLabel, const BURNKIT_WCHAR* PreparerID,
                                                          const BURNKIT_WCHAR* ApplicationID) {
    ErrorBlock eb{ExceptionText, ExceptionTextSize, SystemError, nullptr};
    return Guard(eb, [&] {
        if (Flags != 0)
            throw SdkError(EN_INVALID_INPUT_PARAMETER, "Unknown image build flags " + std::to_string(Flags));
        FileTreeFromHandle(FileTree).BuildImage(StartAddress, IsJoliet != 0, Text(VolumeLabel),
                                                WideText(PreparerID), WideText(ApplicationID));
    });
}

uint32_t Burnkit_ISO9660JolietFileTree_GetSizeInUCHARs(void* FileTree, uint32_t* SizeHigh) {
    auto* tree = FindObjectAs<kvsdk::FileTree>(FileTree);
    uint64_t size = tree != nullptr ? tree->ImageSize() : 0;
    if (SizeHigh != nullptr)
        *SizeHigh = static_cast<uint32_t>(size >> 32);
    return static_cast<uint32_t>(size);
}

EXCEPTION_NUMBER Burnkit_ISO9660JolietFileTree_Read(void* FileTree, char* ExceptionText, uint32_t ExceptionTextSize,
                                                    uint32_t* SystemError, uint32_t Size, void* Buffer) {
    ErrorBlock eb{ExceptionText, ExceptionTextSize, SystemError, nullptr};
    return Guard(eb, [&] { FileTreeFromHandle(FileTree).Read(Buffer, Size); });
}

EXCEPTION_NUMBER Burnkit_UDF2_VolumeDestroy(void* UDFVolume) {
    // This SDK makes no UDF volumes, so no handle can name a live one;
    // anything passed is refused without being touched.
    (void)UDFVolume;
    return EN_INVALID_INPUT_PARAMETER;
}

}  // extern "C"
