#pragma once

// Actions: pieces of disc work run against the burner of their list. A
// TsbActionList holds TsbActionItems, each pointing at (not owning) one
// TsbAction; running an action through its item finds the list and so the
// burner. Actions report texts through OnAction.

#include <cstdint>
#include <memory>
#include <string>

#include "TsbBurner.h"
#include "sbClasses.h"
#include "sbTypes2.h"

class TsbAction;
class TsbActionList;

class TsbActionItem : public TsbCollectionItem {
public:
    explicit TsbActionItem(TObject* ACollection) : TsbCollectionItem(ACollection) {}
    ~TsbActionItem() override { FAction = nullptr; }

    // The item's collection as an action list; raises std::bad_cast when
    // the item belongs to another kind of collection.
    TsbActionList* ActionList() const;
    TsbAction*& Action() { return FAction; }
    int32_t& PageOwner() { return FPageOwner; }

    // Copies the action reference and the tag of another item.
    void Assign(const TsbActionItem& Source);

private:
    TsbAction* FAction = nullptr;
    int32_t FPageOwner = 0;
};

class TsbActionList : public TsbCollection<TsbActionItem> {
public:
    TsbActionList();
    ~TsbActionList() override { FBurner = nullptr; }

    TsbActionEvent& OnAction() { return FOnAction; }
    bool& EnhancedLog() { return FEnhancedLog; }
    TsbBurner*& Burner() { return FBurner; }

    // Copies the list's OnAction into every item's action.
    virtual void UpdateActionsEvent();

    TsbActionOptions ActionOptions;

private:
    TsbBurner* FBurner = nullptr;
    TsbActionEvent FOnAction;
    bool FEnhancedLog = true;
};

class TsbAction : public TObject {
public:
    TsbAction() = default;
    ~TsbAction() override { FAL = nullptr; }

    // Raises "Invalid action" without an item; otherwise takes the item's
    // list and reports progress 0.
    virtual void RunAction(TsbActionItem* ASender);
    virtual void DoActionEvent(const std::string& AMessage, TsbLogItemType AItemType);
    virtual void ActionEventBurnerHandler(TObject* Sender, const std::string& AMessage, TsbLogItemType AItemType);
    // Ejects the disc of the list's burner (reloading it when LoadAfter is
    // set); a failure is reported as litError, never raised.
    void EjectDisc();

    TsbActionEvent& OnAction() { return FOnAction; }
    TsbActionList* AL() const { return FAL; }
    bool FinalSuccess() const { return FFinalSuccess; }

protected:
    TsbActionEvent FOnAction;
    TsbActionList* FAL = nullptr;
    bool FFinalSuccess = true;
};

// An action that runs preparation stages before its work.
class TsbStagedAction : public TsbAction {
public:
    TsbStagedAction() = default;
    void RunAction(TsbActionItem* ASender) override;

    TsbStages& Stages() { return FStages; }

private:
    TsbStages FStages{0x05FF};
};

// "Need to save %d MB" for an image of Bytes bytes.
std::string sbImageSizeText(uint64_t Bytes);

// Copies the tracks of GrabTrackList into files: data tracks directly,
// audio tracks through a temporary WAV that the SDK compresses.
class TsbGrabAction : public TsbStagedAction {
public:
    TsbGrabAction();
    ~TsbGrabAction() override;
    void RunAction(TsbActionItem* ASender) override;

    TsbGrabTrackList* GrabTrackList() const { return FGrabTrackList.get(); }
    bool Eject = false;

private:
    std::unique_ptr<TsbGrabTrackList> FGrabTrackList;
};

// The empty files that reserved the temporary WAV names of audio grabs are
// kept while the program runs and removed by sbEngineFinalize.
void sbRemoveReservedTempFiles();
