// The decoder process: this program started again with decoder::kSwitch. It is caught
// here, before the program's own start-up runs (so a player's single-instance logic,
// a test runner or a benchmark never sees it), and serves the player's commands with
// the platform's Source Reader until the player kills it.
#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>

#include "avcore/decoder_protocol.h"
#include "avcore/decoder_token.h"
#include "avcore/file_stream.h"
#include "avcore/reader_faults.h"
#include "avcore/warm_up.h"
#include "avcore/win_handle.h"

namespace avcore::decoder {

const wchar_t kSwitch[] = L"--avcore-decoder";

namespace {

// The switch must come first after the program's name, followed by the objects' name.
bool ParseCommandLine(const wchar_t* line, std::wstring& name)
{
    if (!line) return false;
    if (*line == L'"') {
        line = std::wcschr(line + 1, L'"');
        if (!line) return false;
        ++line;
    } else {
        while (*line && *line != L' ' && *line != L'\t') ++line;
    }
    while (*line == L' ' || *line == L'\t') ++line;
    const size_t n = std::wcslen(kSwitch);
    if (std::wcsncmp(line, kSwitch, n) != 0 || line[n] != L' ') return false;
    name = line + n + 1;
    while (!name.empty() && (name.back() == L' ' || name.back() == L'\t')) name.pop_back();
    return !name.empty() && name.size() < MAX_PATH;
}

// False when this process's rights do not let it read the file (other failures are
// the reader's to report).
bool MayRead(const std::wstring& path)
{
    const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.get() != INVALID_HANDLE_VALUE || GetLastError() != ERROR_ACCESS_DENIED;
}

// Copies the visible rectangle of a decoded picture into a slot: the one copy a picture gets.
void CopyToSlot(const avfx::PlaneView& src, const VideoFormat& slot, uint8_t* dst)
{
    const avfx::PlaneView d = PlanesAt(dst, slot, SlotGeometry(slot));
    const size_t w = static_cast<size_t>(slot.cropWidth);
    const int h = slot.cropHeight;
    auto rows = [](const uint8_t* from, int fromStride, const uint8_t* to, int toStride, size_t bytes, int count) {
        for (int r = 0; r < count; ++r)
            std::memcpy(const_cast<uint8_t*>(to) + static_cast<size_t>(r) * toStride,
                        from + static_cast<size_t>(r) * fromStride, bytes);
    };
    rows(src.y, src.yStride, d.y, d.yStride, w, h);
    const size_t chroma = (w + 1) / 2;
    if (slot.layout == avfx::PixelLayout::NV12) {
        rows(src.u, src.uvStride, d.u, d.uvStride, 2 * chroma, (h + 1) / 2);
    } else {
        rows(src.u, src.uvStride, d.u, d.uvStride, chroma, (h + 1) / 2);
        rows(src.v, src.uvStride, d.v, d.uvStride, chroma, (h + 1) / 2);
    }
}

class Host {
public:
    explicit Host(Control* control) : m_control(control) {}
    ~Host() { unmapPictures(); }

    void serve(HANDLE command, HANDLE reply)
    {
        // Before ready, and behind the file that plays meanwhile: the player takes a warm
        // decoder, and its first open is quick.
        SetPriorityClass(GetCurrentProcess(), BELOW_NORMAL_PRIORITY_CLASS);
        WarmUpPlatform();
        SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
        m_control->identity = DescribeOwnToken();
        SetEvent(reply);  // ready: the player may send commands now
        while (WaitForSingleObject(command, INFINITE) == WAIT_OBJECT_0) {
            Response& r = m_control->response;
            r.result = handle(m_control->request, r);
            SetEvent(reply);
        }
    }

private:
    Result handle(const Request& q, Response& r)
    {
        switch (q.command) {
        case Command::Open:
        case Command::OpenHandle: return open(q, r);
        case Command::MapPictures: return mapPictures(q);
        case Command::ReadVideo: return readVideo(q.slot, r);
        case Command::ReadAudio: return readAudio(r);
        case Command::Seek:
            m_audio.samples.clear();
            return m_source.seek(q.seekSeconds) ? Result::Ok : Result::Failed;
        case Command::SelectAudio:
            m_audio.samples.clear();
            m_audioUsed = 0;
            switch (m_source.selectAudioTrack(static_cast<int>(q.audioTrack), q.seekSeconds)) {
            case TrackSwitch::Alongside: return Result::Ok;
            case TrackSwitch::InPlace: return Result::Denied;
            case TrackSwitch::Refused: return Result::Failed;
            }
            return Result::Failed;
        }
        return Result::Failed;
    }

    Result open(const Request& q, Response& r)
    {
        if (q.pathChars == 0 || q.pathChars >= kMaxPathChars) return Result::Failed;
        const std::wstring path(q.path, q.pathChars);
        bool opened = false;
        if (q.command == Command::OpenHandle) {
            const auto stream = ByteStreamOnFile(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(q.file)), path);
            opened = stream && m_source.open(path, [&](const std::wstring&, IMFAttributes* attributes,
                                                       IMFSourceReader** reader) {
                return MFCreateSourceReaderFromByteStream(stream.Get(), attributes, reader);
            }, false);  // the path is not ours to open
        } else {
            if (q.fault.fault == ReaderFault::PathDenied || !MayRead(path)) return Result::Denied;
            opened = m_source.open(path, FaultyReaderFactory(q.fault));
        }
        if (!opened) return Result::Failed;
        r.info = m_source.info();
        r.info.video = SlotFormat(m_source.info().video);
        return Result::Ok;
    }

    Result mapPictures(const Request& q)
    {
        unmapPictures();
        const HANDLE section = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(q.pictures));
        const size_t bytes = static_cast<size_t>(q.slotBytes) * kPictureSlots;
        m_pictures = static_cast<uint8_t*>(MapViewOfFile(section, FILE_MAP_WRITE, 0, 0, bytes));
        CloseHandle(section);  // the view keeps the section
        m_slotBytes = m_pictures ? static_cast<size_t>(q.slotBytes) : 0;
        return m_pictures ? Result::Ok : Result::Failed;
    }

    void unmapPictures()
    {
        if (m_pictures) UnmapViewOfFile(m_pictures);
        m_pictures = nullptr;
        m_slotBytes = 0;
    }

    Result readVideo(uint32_t slot, Response& r)
    {
        if (!m_pictures || slot >= kPictureSlots) return Result::Failed;
        ReaderSample sample;
        const ReadStatus status = m_source.readVideo(sample);
        if (status != ReadStatus::Sample) return status == ReadStatus::EndOfStream ? Result::EndOfStream : Result::Failed;
        const VideoFormat slotFormat = SlotFormat(m_source.info().video);
        if (SlotBytes(slotFormat) > m_slotBytes) return Result::Failed;  // grew past the ring made at open
        LockedPicture picture(sample.sample.Get(), m_source.info().video);
        if (!picture.ok()) return Result::Failed;
        CopyToSlot(picture.planes(), slotFormat, m_pictures + static_cast<size_t>(slot) * m_slotBytes);
        r.info.video = slotFormat;
        r.pts = sample.pts;
        r.duration = sample.duration;
        return Result::Ok;
    }

    // A chunk bigger than the response's room goes over in parts.
    Result readAudio(Response& r)
    {
        if (m_audioUsed >= m_audio.samples.size()) {
            m_audio.samples.clear();
            m_audioUsed = 0;
            const ReadStatus status = m_source.readAudio(m_audio);
            if (status != ReadStatus::Sample) return status == ReadStatus::EndOfStream ? Result::EndOfStream : Result::Failed;
        }
        const size_t channels = static_cast<size_t>(m_source.info().audio.channels);
        const size_t room = kAudioSamples / channels * channels;
        const size_t n = std::min(room, m_audio.samples.size() - m_audioUsed);
        std::memcpy(r.audio, m_audio.samples.data() + m_audioUsed, n * sizeof(int16_t));
        r.pts = m_audio.pts + static_cast<double>(m_audioUsed / channels) / m_source.info().audio.rate;
        r.audioFrames = static_cast<uint32_t>(n / channels);
        m_audioUsed += n;
        return Result::Ok;
    }

    Control* m_control;
    MediaSource m_source;
    uint8_t* m_pictures = nullptr;
    size_t m_slotBytes = 0;
    AudioChunk m_audio;     // read from the file, not yet all sent
    size_t m_audioUsed = 0;
};

// A crash in the platform ends this process at once, without a dialog or a debugger:
// the player sees it die and carries on.
LONG WINAPI EndOnCrash(EXCEPTION_POINTERS* e)
{
    TerminateProcess(GetCurrentProcess(), e && e->ExceptionRecord ? e->ExceptionRecord->ExceptionCode : 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

[[noreturn]] void RunHost(const std::wstring& name)
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(EndOnCrash);
    {
        MediaThreadScope scope(true);
        const UniqueHandle section(OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, ControlName(name).c_str()));
        const UniqueHandle command(OpenEventW(SYNCHRONIZE, FALSE, CommandName(name).c_str()));
        const UniqueHandle reply(OpenEventW(EVENT_MODIFY_STATE, FALSE, ReplyName(name).c_str()));
        auto* control = section ? static_cast<Control*>(MapViewOfFile(section.get(), FILE_MAP_ALL_ACCESS, 0, 0,
                                                                      sizeof(Control)))
                                : nullptr;
        if (scope.ok() && control && command && reply) {
            Host host(control);
            host.serve(command.get(), reply.get());
        }
    }
    // Nothing of the program around this host was started, so nothing of it is ended.
    TerminateProcess(GetCurrentProcess(), 0);
    for (;;) Sleep(INFINITE);
}

struct HostEntry {
    HostEntry()
    {
        std::wstring name;
        if (ParseCommandLine(GetCommandLineW(), name)) RunHost(name);
    }
};

const HostEntry g_entry;

} // namespace

} // namespace avcore::decoder
