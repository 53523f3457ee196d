#pragma once
// Installs layouts written by a test as the library's skin archive.
#include <string>
#include <utility>
#include <vector>

#include "duilib/UIResource.h"
#include "support/zip_writer.h"

namespace testsupport {

// Images cached from an earlier archive must not leak into the next test.
inline bool UseMemorySkin(const std::vector<std::pair<std::string, std::string>>& members) {
    DuiLib::CImageCache::Clear();
    return DuiLib::CSkinSource::UseMemory(StoredZip(members));
}

} // namespace testsupport
