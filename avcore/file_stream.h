#pragma once
// A Media Foundation byte stream over a file handle: how a decoder process reads a
// file that it may not open by its path, opened for it by the player.
#include <windows.h>
#include <mfidl.h>
#include <wrl/client.h>

#include <string>

namespace avcore {

// Takes ownership of `file`; `path` names the stream, so the platform picks its reader
// by the extension as it would for the path. Null on failure (the handle is closed).
Microsoft::WRL::ComPtr<IMFByteStream> ByteStreamOnFile(HANDLE file, const std::wstring& path);

} // namespace avcore
