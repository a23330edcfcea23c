#pragma once

// Map files hold the 2048 bytes of the map image and nothing else: no header, no checksum.
namespace MapFile {
constexpr int kSize = 2048;
constexpr const char* kFilter = "bin Files(*.bin)|*.bin";
}  // namespace MapFile
