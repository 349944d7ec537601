#pragma once

// The public surface of libLumetra: two plain records and a set of plain C functions.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#define LUMETRA_API __attribute__((visibility("default")))

namespace MediaLibrary::Header {

constexpr std::size_t kPathCapacity = 260;   // bytes, terminator included

// One conversion request, passed by value to every Convert_* export. 552 bytes, no padding.
struct MEDIACONVERSIONINFO {
    LUMETRA_API MEDIACONVERSIONINFO();                                  // all bytes zero
    MEDIACONVERSIONINFO(const MEDIACONVERSIONINFO&) = default;
    LUMETRA_API MEDIACONVERSIONINFO& operator=(const MEDIACONVERSIONINFO& other);

    char szSourceFile[kPathCapacity];
    std::int32_t nAudioBitRate;     // kbit/s; 0 or less: not given
    std::int32_t nAudioChannels;
    std::int32_t nSampleRate;       // Hz
    std::int32_t nVideoBitRate;     // kbit/s
    std::int32_t nWidth;
    std::int32_t nHeight;
    std::int32_t nFrameRate;        // whole frames per second
    char szOutputFile[kPathCapacity];
    std::int32_t nOutputFormat;     // OutputFormat
};

// One audio-CD track. 456 bytes.
struct CD_TEXT_INFO {
    LUMETRA_API CD_TEXT_INFO();                                         // all bytes zero
    CD_TEXT_INFO(const CD_TEXT_INFO&) = default;
    LUMETRA_API CD_TEXT_INFO& operator=(const CD_TEXT_INFO& other);

    std::int32_t nTrackNo;
    char szLength[20];
    char szSize[10];
    char szTitle[100];
    char szArtist[60];
    char szPath[262];
};

enum OutputFormat : std::int32_t {
    kFormatNone = 0,
    kFormatWav = 1,
    kFormatMp3 = 2,
    kFormatAvi = 3,
    kFormatMpg = 4,
    kFormatFlv = 5,
    kFormatM4v = 6,
    kFormatMp4 = 7,
    kFormatMov = 8,
    kFormatVob = 10,
    kFormatDvd = 11,
};

}  // namespace MediaLibrary::Header

namespace CDDB {

// One match of a CDDB query. Allocated by the library; hand lists of them back to
// FreeCDDBMatches so that they are released on the side that made them.
struct CQueryResult {
    std::string strCode;       // "200" for an exact match; empty for matches from a list
    std::string strCategory;
    std::string strDiscId;
    std::string strArtist;
    std::string strTitle;
};

}  // namespace CDDB

namespace MediaLibrary::Result {
constexpr int kToolNotStarted = 6101;
}

// Shows a library message (text, title) and returns when the user has read it.
using LumetraMessageBoxHandler = void (*)(const char* text, const char* title);

extern "C" {

// Fills the stream facts of info->szSourceFile into *info (everything else zeroed). Always 1.
LUMETRA_API int GetDefaultPara(MediaLibrary::Header::MEDIACONVERSIONINFO* info);
// Writes the play length text (" 00:03:25.40") into output: at most 19 bytes and the terminator.
// Leaves output unchanged when no length is found. Always 0.
LUMETRA_API int GetPlayLength(const char* source, char* output);

// Convert szSourceFile into szOutputFile; the container follows the output's extension,
// except for the PAL DVD target. Always 0: callers judge by the output file.
LUMETRA_API int Convert_Video_TO_AVI(MediaLibrary::Header::MEDIACONVERSIONINFO info);
LUMETRA_API int Convert_Video_TO_MPG(MediaLibrary::Header::MEDIACONVERSIONINFO info);
LUMETRA_API int Convert_Video_TO_FLV(MediaLibrary::Header::MEDIACONVERSIONINFO info);
LUMETRA_API int Convert_Video_TO_M4V(MediaLibrary::Header::MEDIACONVERSIONINFO info);
LUMETRA_API int Convert_Video_TO_MP4(MediaLibrary::Header::MEDIACONVERSIONINFO info);
LUMETRA_API int Convert_Video_TO_MOV(MediaLibrary::Header::MEDIACONVERSIONINFO info);
LUMETRA_API int Convert_Video_TO_VOB(MediaLibrary::Header::MEDIACONVERSIONINFO info);
LUMETRA_API int Convert_Video_TO_DVD(MediaLibrary::Header::MEDIACONVERSIONINFO info);

// Writes the frame at position (a start time as the encoder takes it: "12", "00:01:05.5"; a
// negative one counts as 0) at half the video's size into a PNG picture. Always 1: without a
// frame (an audio-only source, a position past the end) there is no picture file at all.
LUMETRA_API int GeTThumbNailForVideoFile(const char* position, const char* video, const char* picture);
// Joins the files of the list, byte for byte in list order, into info.szSourceFile, converts
// that into info.szOutputFile (code 11: the PAL DVD command) and deletes it. The list is a
// pointer to count zero-terminated paths (no standard-library type crosses the boundary). An
// empty list converts nothing. Always 0: callers judge by the output file.
LUMETRA_API int Convert_Join_To_Single(MediaLibrary::Header::MEDIACONVERSIONINFO info, const char* const* paths,
                                       unsigned count);
// Authors the DVD-Video folders described by a dvdauthor XML file into its dest folder, after
// removing the VIDEO_TS and AUDIO_TS of an earlier run there. Always 1: callers look for
// VIDEO_TS/VIDEO_TS.IFO.
LUMETRA_API int GenerateDVDFiles(const char* xmlPath);
// The folder GenerateDVDFiles authors into: the dest of the dvdauthor XML file as the library reads
// it. Returns its length in bytes, 0 when the file names none XML can carry (or cannot be read), with
// the reason for GetLastFailure; writes it with its terminator into folder when capacity holds both,
// else empties folder (when capacity > 0).
LUMETRA_API unsigned GetDVDFilesFolder(const char* xmlPath, char* folder, unsigned capacity);
// MP3 to WAV and WAV to MP3; the output's extension chooses the format. Always 0.
LUMETRA_API int Convert_MP3_TO_WAV(MediaLibrary::Header::MEDIACONVERSIONINFO info);
LUMETRA_API int Convert_Wav_TO_MP3(MediaLibrary::Header::MEDIACONVERSIONINFO info);

// Lists the CDDB matches of the disc in the drive (appended to *matches). 1, or 0 after a
// failure message; a drive that cannot be read is told to the user and gives 1 with no matches.
// A disc with CD-TEXT asks no server: its one exact match is the CD-TEXT (category "cd-text").
// The entry chosen for the drive before (GetCDEntry) no longer names its rips. Without matches
// GetLastFailure says why. Matches whose category or disc id is not fit to ask for are left out;
// artists and titles hold no control characters and only valid UTF-8.
LUMETRA_API int ReadCDDB(char drive, std::vector<CDDB::CQueryResult*>* matches);
// Reads the chosen match's entry from the CDDB server (a "cd-text" match: from the disc) and
// writes each track title (appended to szTitle, which the caller empties first) and the disc
// artist into the records, cleaned as the matches are. 1 when the entry was read (code 210); 0
// after a failure message otherwise (no entry, a server error, a redirect, a match not fit to ask
// for), GetLastFailure saying why. The entry is kept for the disc rips of the drive that the
// records' paths name, while that disc stays in it.
LUMETRA_API int GetCDEntry(MediaLibrary::Header::CD_TEXT_INFO* tracks, int count, const CDDB::CQueryResult* match);
// Deletes every match of the list and empties it.
LUMETRA_API void FreeCDDBMatches(std::vector<CDDB::CQueryResult*>* matches);

// Without a handler, messages go to standard error and the log.
LUMETRA_API void SetMessageBoxHandler(LumetraMessageBoxHandler handler);

// Nonzero: every line of the library's log goes to standard error as well as to the log file.
LUMETRA_API void SetLogEcho(int echo);

// Why the calling thread's last call of an export failed, in words for its user ("ffmpeg was not
// found beside the program or on PATH", "the output folder ... is not writable"); "" after a call
// that succeeded. Valid until the thread's next call.
LUMETRA_API const char* GetLastFailure(void);
// Ends the encoders and authoring tools this process's conversions are waiting for, and stops its
// CD rips; those fail with "cancelled" and leave no output.
LUMETRA_API void CancelConversions(void);
// How far the conversion running in this process has got: seconds of output the encoder has
// written; while a CD track is ripped, seconds of its audio read (an MP3: reading is the first
// half of the track's seconds, encoding the second); 0 when none runs.
LUMETRA_API double GetEncodedSeconds(void);
// The stream facts of a media file (as GetDefaultPara) and its play length (as GetPlayLength,
// 20 bytes) from one run of the encoder. 1, or 0 when the file has no streams or no play length.
LUMETRA_API int GetMediaFacts(const char* source, MediaLibrary::Header::MEDIACONVERSIONINFO* facts, char* playLength);

// Audio CDs, addressed by drive letter ("D", track 3 of it as "D:3").
// Fills the first n records for the n tracks of the disc (track number from each record's .cda
// file named in szTitle, length, size, path): 0 with *count = n; 6000 when *count < n (*count = n,
// records untouched); 6024 when the drive cannot be read (*count = 0), GetLastFailure saying why.
LUMETRA_API int GET_CD_TEXT_INFO(char drive, MediaLibrary::Header::CD_TEXT_INFO* tracks, unsigned* count);
// Rips the track named by szSourceFile into szOutputFile: a WAV for nOutputFormat 1, else an MP3.
// 0, or one of the rip failures 6020 to 6023 with GetLastFailure saying why; a failed rip leaves
// an earlier file of the output's name as it was. Rips may run in several processes at once.
LUMETRA_API int Convert_CD_TO_MP3(MediaLibrary::Header::MEDIACONVERSIONINFO info);

}  // extern "C"

// The exports' types, for callers that bind them by name.
namespace Lumetra {
using GetDefaultParaFn = decltype(&GetDefaultPara);
using GetPlayLengthFn = decltype(&GetPlayLength);
using ConvertFn = decltype(&Convert_Video_TO_AVI);
using ThumbnailFn = decltype(&GeTThumbNailForVideoFile);
using JoinFn = decltype(&Convert_Join_To_Single);
using GenerateDvdFilesFn = decltype(&GenerateDVDFiles);
using GetDvdFilesFolderFn = decltype(&GetDVDFilesFolder);
using SetMessageBoxHandlerFn = decltype(&SetMessageBoxHandler);
using ReadCDDBFn = decltype(&ReadCDDB);
using GetCDEntryFn = decltype(&GetCDEntry);
using FreeCDDBMatchesFn = decltype(&FreeCDDBMatches);
using SetLogEchoFn = decltype(&SetLogEcho);
using GetLastFailureFn = decltype(&GetLastFailure);
using CancelConversionsFn = decltype(&CancelConversions);
using GetMediaFactsFn = decltype(&GetMediaFacts);
using GetEncodedSecondsFn = decltype(&GetEncodedSeconds);
}  // namespace Lumetra

// Results of the audio-CD exports.
namespace MediaLibrary::Result {
constexpr int kCdArrayTooSmall = 6000;
constexpr int kCdDriveNotAccessible = 6024;
constexpr int kRipReaderUnusable = 6020;
constexpr int kRipNotInitialised = 6021;   // also: the WAV could not be written
constexpr int kRipNoDisc = 6022;           // also: the disc could not be read to the end
constexpr int kRipTrackOutOfRange = 6023;
}  // namespace MediaLibrary::Result

namespace Lumetra {
using GetCdTextInfoFn = decltype(&GET_CD_TEXT_INFO);
}  // namespace Lumetra

// Disc rips: every audio track of a disc into named files (WAV, or MP3 with ID3v2.4 tags) of one
// folder, each checked against the AccurateRip database, with a rip log beside them.
namespace MediaLibrary::Header {

enum RipVerdict : std::int32_t {
    kRipNotRipped = 0,
    kRipAccurate = 1,        // the database holds the track's checksum: nConfidence rips agreed
    kRipNotAccurate = 2,     // the database knows the disc, with other checksums for the track
    kRipNotInDatabase = 3,
    kRipNotVerified = 4,     // no answer from the database server: not a failure of the rip
};

// One ripped track, as RipDiscTrack reports it.
struct RIP_TRACK_REPORT {
    std::int32_t nTrackNo = 0;
    std::int32_t nResult = 0;            // 0: exact and in place; else a rip failure 6020 to 6023
    std::int32_t nVerdict = kRipNotRipped;
    std::int32_t nConfidence = 0;        // accurate: how many rips agreed
    std::int32_t nArVersion = 0;         // accurate: 1 or 2, the checksum that matched
    std::uint32_t nCrc32 = 0;
    std::uint32_t nAccurateRipV1 = 0;
    std::uint32_t nAccurateRipV2 = 0;
    std::int64_t nSampleFrames = 0;      // of the track, as read
    char szOutputFile[kPathCapacity] = {};   // the file written; empty when none
    char szVerdict[100] = {};            // the verdict in words: "accurate (confidence 12, v2)"
};

}  // namespace MediaLibrary::Header

// An open disc rip; only the library looks inside.
struct LumetraDiscRip;

extern "C" {

// Opens the disc in the drive for a rip into the folder: titles from its CD-TEXT, else the CDDB
// entry last read for it with GetCDEntry; the AccurateRip server asked about it (no answer is no
// failure). nOutputFormat (1 WAV, else MP3) and the audio quality fields of the request count.
// None, with GetLastFailure saying why, when the disc or the folder cannot be used.
LUMETRA_API LumetraDiscRip* BeginDiscRip(char drive, const char* folder, MediaLibrary::Header::MEDIACONVERSIONINFO quality);
// Rips one track (its number on the disc) into "NN - Title.ext" ("TrackNN.ext" untitled; " (2)"
// added rather than replacing a file), exactly or not at all: a track with a block the reader could
// not verify fails with 6022 and leaves no file. 0 or the failure, GetLastFailure saying why; the
// report is filled either way. GetEncodedSeconds follows the rip.
LUMETRA_API int RipDiscTrack(LumetraDiscRip* rip, int track, MediaLibrary::Header::RIP_TRACK_REPORT* report);
// Writes the rip log into the folder ("rip.log", or "rip (2).log" and on) and closes the rip.
// 0 with the log's path in logFile (when capacity holds it), or 6021 with GetLastFailure saying why.
LUMETRA_API int EndDiscRip(LumetraDiscRip* rip, char* logFile, unsigned capacity);

}  // extern "C"

namespace Lumetra {
using BeginDiscRipFn = decltype(&BeginDiscRip);
using RipDiscTrackFn = decltype(&RipDiscTrack);
using EndDiscRipFn = decltype(&EndDiscRip);
}  // namespace Lumetra
