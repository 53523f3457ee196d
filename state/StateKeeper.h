#pragma once
// The main window's memory of the user between runs: the state as read at start and
// kept since, and where the open file was at the last polling tick.
#include <optional>
#include <string>
#include "state/ResumePositions.h"
#include "state/UserState.h"

namespace userstate {

inline constexpr unsigned long long kSaveWhilePlayingMs = 10000;
inline constexpr unsigned long long kResumeNoticeMs = 3000;

struct StateKeeper {
    std::wstring file;                   // empty: nothing is read or written
    UserState state;
    std::optional<FileKey> opened;       // the file opened last
    double openedAt = 0;                 // its time and duration at the last tick
    double openedLength = 0;
    int openedTrack = 0;                 // its sound track, when one was chosen or restored
    unsigned long long lastSaveTick = 0;

    // Where the open file was at the last tick goes into the remembered positions;
    // a file no tick saw playing changes nothing.
    void NoteWhereLeft() {
        if (opened && openedLength > 0)
            RecordLeftAt(state.positions, *opened, openedAt, openedLength, openedTrack);
    }
};

} // namespace userstate
