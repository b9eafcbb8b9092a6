#pragma once

// Owning collections of the engine: the drives of a search, the tracks of
// a disc and the tracks to grab. A collection owns its items in insertion
// order; an item knows its collection.

#include <atomic>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "Burnkit.h"
#include "sbTypes2.h"

// The platform's index error: an index outside 0..Count-1.
class EListError : public std::out_of_range {
public:
    using std::out_of_range::out_of_range;
};

template <typename TItem>
class TsbCollection : public TObject {
public:
    TsbCollection() = default;
    TsbCollection(const TsbCollection&) = delete;
    TsbCollection& operator=(const TsbCollection&) = delete;

    int Count() const { return int(FItems.size()); }
    // A new item with its defaults, appended at the end.
    TItem* Add()
    {
        FItems.push_back(std::make_unique<TItem>(this));
        return FItems.back().get();
    }
    // Raises EListError for an index outside 0..Count-1.
    TItem* GetItems(int Index) const
    {
        if (Index < 0 || Index >= Count())
            throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
        return FItems[size_t(Index)].get();
    }
    TItem* Items(int Index) const { return GetItems(Index); }
    // Frees every item.
    void Clear() { FItems.clear(); }
    // Frees the item at Index (raising EListError outside the range).
    void Delete(int Index)
    {
        GetItems(Index);
        FItems.erase(FItems.begin() + Index);
    }

private:
    std::vector<std::unique_ptr<TItem>> FItems;
};

class TsbCollectionItem : public TObject {
public:
    explicit TsbCollectionItem(TObject* ACollection) : Collection(ACollection) {}
    TObject* const Collection;
};

// One drive found by a search.
class TsbDeviceItem : public TsbCollectionItem {
public:
    explicit TsbDeviceItem(TObject* ACollection);

    std::string Vendor;
    std::string Product;
    std::string ProductRevisionLevel;
    std::string DiscLabel;
    uint32_t BufferSize = 0;
    SCSI_DEVICE_ADDRESS SCSIInfo{};
    std::string DeviceName;
    TsbTransportType TransportType = ttSpti;
    TsbMediaFormats MediaFormats;
    TsbMediaFormatsEx MediaFormatsEx;
    DISC_TYPE DiscType = DISC_TYPE_UNKNOWN;
    std::string DriveLetter;  // "E:" or empty
    ::DISC_INFORMATION DISC_INFORMATION{};
    ::TRACK_INFORMATION TRACK_INFORMATION{};
    ::TOC_INFORMATION TOC_INFORMATION{};
    TsbDiscSizeInfo DiscSizeInfo;
    TsbReadModes ReadModes;
    TsbWriteModes WriteModes;
    TsbDVDRPC DVDRPC;
    bool Audio = false;
};

// The drives of one search. While a search runs, only the search thread
// touches the list (see TsbDeviceFinder).
class TsbDeviceList : public TsbCollection<TsbDeviceItem> {
public:
    std::string ErrorMessage;
    TsbTransportType TransportType = ttSpti;
    // Set by the UI thread to stop the probe from adding drives.
    std::atomic<bool> CancelAddDevices{false};
};

// One track of the inserted disc.
class TsbTrack : public TsbCollectionItem {
public:
    using TsbCollectionItem::TsbCollectionItem;

    ::TRACK_INFORMATION TRACK_INFORMATION{};
    ::TOC_ENTRY TOC_ENTRY{};
    std::string ShortStrInfo;
    std::string StrInfo;
    int64_t TrackSizeInLB = 0;
    int64_t TrackSizeInBytes = 0;
    double TrackSizeInTime = 0;  // days
};

class TsbTrackList : public TsbCollection<TsbTrack> {};

// One track to copy: its number on the disc, the output path and its kind.
class TsbGrabTrack : public TsbCollectionItem {
public:
    using TsbCollectionItem::TsbCollectionItem;

    int32_t TrackNumber = 0;
    std::string FileName;
    TsbTrackType TrackType = ttData;
};

class TsbGrabTrackList : public TsbCollection<TsbGrabTrack> {};
