#pragma once
// Writes a picture as PNG with the system's imaging component (WIC).
#include <string>

namespace screenshot {

// bgra: width * 4 bytes a row, top-down; the alpha byte is ignored, as when the
// picture is drawn. The file is replaced; false when any step fails.
bool WritePng(const std::wstring& path, const unsigned char* bgra, int width, int height);

} // namespace screenshot
