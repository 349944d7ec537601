#pragma once

// The process-wide log of the deliverable that links this module.

namespace velmora::log {
class Logger;
}

// Reads the threshold ("LogLevel", default 1), opens the day's file and logs the system line.
void LogInit(const char* name);
void LogMessage(unsigned level, const char* format, ...) __attribute__((format(printf, 2, 3)));
bool LogOpenFile();
void LogCloseFile();
void LogSystemInfo();
// Copies every line to standard error as well.
void LogEcho(bool echo);

velmora::log::Logger& ProcessLog();
