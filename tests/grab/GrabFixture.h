#pragma once

// Fixtures of the disc-to-image page tests: drives of the SDK backed by
// images and scripts the test writes, a three-track data disc, and a
// catcher that answers the page's message boxes.

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <string>
#include <vector>

#include "DriveMapFile.h"
#include "TestDirs.h"

namespace grabtest {

using DriveMap = kvtest::DriveMap;

// A cue sheet with its BIN file: three MODE1/2048 data tracks of 30, 40 and
// 50 sectors, each filled with a pattern of its own. Tracks() gives the
// bytes of each track.
class ThreeTrackDisc {
public:
    explicit ThreeTrackDisc(const std::string& folder);
    const std::string& CuePath() const { return cue_; }
    const std::array<std::string, 3>& Tracks() const { return tracks_; }

private:
    std::string cue_;
    std::array<std::string, 3> tracks_;
};

// Answers every message box that opens while it lives with its OK button
// and records what it said.
class MessageCatcher : public QObject {
public:
    struct Shown {
        QString text;
        QMessageBox::Icon icon;
    };
    MessageCatcher();
    const std::vector<Shown>& Messages() const { return shown_; }

private:
    QTimer timer_;
    std::vector<Shown> shown_;
};

// Files directly inside a folder, by name, sorted.
std::vector<std::string> FileNames(const std::string& folder);

}  // namespace grabtest
