#pragma once

#include <cstdint>
#include <string>

namespace velmora::discburn {

// Result codes of the disc-mastering layer, 32-bit HRESULT-style values:
// 0 or positive for success, negative for failure.
//
//   0x8BA0xxxx  conditions of our own (below)
//   0x8BA2xxxx  libburn's message codes 0x0002xxxx, low 16 bits kept
//   0xE8xxxxxx  libisofs's error codes, which are negative already and are passed on unchanged
using HResult = std::int32_t;

constexpr HResult kOk = 0;
// Written, with something left off:
constexpr HResult kWrittenWithoutCdText = 1;   // CD-TEXT needs a session written at once; the recorder cannot
constexpr HResult kCdTextDoesNotFit = 2;       // the text does not fit into the lead-in, even shortened
constexpr HResult kNoSuchRecorder = static_cast<HResult>(0x8BA00001);   // the address names no usable recorder
constexpr HResult kRecorderBusy = static_cast<HResult>(0x8BA00002);     // held by another client or program
constexpr HResult kNoMedia = static_cast<HResult>(0x8BA00003);          // no disc, or one that cannot be read
constexpr HResult kNotSupported = static_cast<HResult>(0x8BA00004);     // the recorder cannot do what was asked
constexpr HResult kCancelled = static_cast<HResult>(0x8BA00005);        // the progress handler asked to stop
constexpr HResult kFileError = static_cast<HResult>(0x8BA00006);        // a target or source file failed
constexpr HResult kWriteFailed = static_cast<HResult>(0x8BA00007);      // libburn failed without saying why
constexpr HResult kInvalidArgument = static_cast<HResult>(0x8BA00008);  // a client name or index out of bounds
constexpr HResult kLibraryFailed = static_cast<HResult>(0x8BA00009);    // the mastering libraries did not start
constexpr HResult kMediaNotBlank = static_cast<HResult>(0x8BA0000A);    // the media (or image) holds data already
constexpr HResult kVerifyMismatch = static_cast<HResult>(0x8BA0000B);   // read back, a track differs from what was written
constexpr HResult kReadBackFailed = static_cast<HResult>(0x8BA0000C);   // what was written cannot be read back
constexpr HResult kImageBuildFailed = static_cast<HResult>(0xC0AAB100); // an image build that stopped on request

constexpr HResult kLibburnBase = static_cast<HResult>(0x8BA20000);

// A libburn message code as a result code.
HResult FromLibburnCode(int code);

// The text with the code written into it: the format holds one "%08x" (or "%08X").
std::string WithCode(const char* format, HResult hr);

}  // namespace velmora::discburn
