#pragma once
// The rights a decoder process runs with: the player's token with every privilege
// dropped, the Administrators group only able to deny, and low integrity, so a
// decoder taken over by a hostile file can write almost nowhere.
#include "avcore/decoder_protocol.h"
#include "avcore/win_handle.h"

namespace avcore {

// A primary token for a decoder process; null when the platform cannot make one.
UniqueHandle MakeDecoderToken();

// What a token (queryable) says about its rights; DescribeOwnToken: this process's.
decoder::Identity DescribeToken(HANDLE token);
decoder::Identity DescribeOwnToken();

} // namespace avcore
