#pragma once
// What the player and its decoder process share: the command switch, the control
// block both map (one command at a time: the player writes a request and sets the
// command event, the decoder writes the response and sets the reply event), and
// the layout of a picture slot in the ring the decoder copies each picture into.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "avcore/media_source.h"
#include "avcore/reader_faults.h"
#include "avcore/video_planes.h"

namespace avcore::decoder {

// First argument of a decoder process, then the name its shared objects derive from:
// "--avcore-decoder Local\avcore-decoder-...". Nothing is inherited.
extern const wchar_t kSwitch[];
std::wstring ControlName(const std::wstring& name);  // the control block's section
std::wstring CommandName(const std::wstring& name);  // the command event
std::wstring ReplyName(const std::wstring& name);    // the reply event

enum class Command : uint32_t { Open = 1, OpenHandle, MapPictures, ReadVideo, ReadAudio, Seek, SelectAudio };
// Denied: the decoder may not open the path; the player then opens it and sends OpenHandle.
// To SelectAudio: the track was switched in the file's one reader, which must be sought again.
enum class Result : uint32_t { Ok = 1, EndOfStream, Failed, Denied };

constexpr uint32_t kPictureSlots = 4;
constexpr size_t kMaxPathChars = 32768;    // a \\?\ path at its longest
constexpr size_t kAudioSamples = 1 << 19;  // 16-bit samples per answer (about 5 s of 48 kHz stereo)

// Written by the player before it sets the command event.
struct Request {
    Command command;
    uint32_t slot;             // ReadVideo: the picture slot to fill
    uint64_t pictures;         // MapPictures: the section's handle in the decoder
    uint64_t slotBytes;        // ... and the size of one slot
    double seekSeconds;        // Seek; SelectAudio: where the new track starts
    uint32_t audioTrack;       // SelectAudio: the track's index in the open answer's list
    uint64_t file;             // OpenHandle: the file, opened for reading by the player, in the decoder
    ReaderFaultSeam fault;     // Open, OpenHandle: a failing platform, for tests
    uint32_t pathChars;        // Open, OpenHandle: UTF-16 units in path, no NUL
    wchar_t path[kMaxPathChars];
};

// Written by the decoder before it sets the reply event. The player trusts none of it
// before checking: the decoder reads hostile files.
struct Response {
    Result result;
    MediaInfo info;            // Open (with the audio tracks), ReadVideo: the video format as laid out in a slot
    double pts;                // ReadVideo, ReadAudio
    double duration;           // ReadVideo
    uint32_t audioFrames;      // ReadAudio: frames in audio
    int16_t audio[kAudioSamples];
};

// Written once by the decoder before its first reply, from its own token.
struct Identity {
    uint32_t integrityRid;     // SECURITY_MANDATORY_*_RID
    uint32_t adminsDenyOnly;   // the Administrators group cannot grant access
    uint32_t privileges;       // privileges the token holds
};

struct Control {
    Request request;
    Response response;
    Identity identity;
};

// A slot holds the visible rectangle only, rows `stride` bytes apart with the chroma
// right after the luma: the format of `decoded` as it lies in a slot.
VideoFormat SlotFormat(const VideoFormat& decoded);
PlaneGeometry SlotGeometry(const VideoFormat& slot);
size_t SlotBytes(const VideoFormat& slot);
// True when a slot format from the decoder is sane and fits `slotBytes`.
bool SlotFormatFits(const VideoFormat& slot, size_t slotBytes);

} // namespace avcore::decoder
