#pragma once

#include <QApplication>
#include <QString>
#include <QStringList>

#include <ostream>

namespace velmora::test {

// The one QApplication of a test program (offscreen platform, set by CTest).
QApplication& TestApplication();

// Lets queued calls and events run for a moment.
void ProcessEvents(int milliseconds = 0);

}  // namespace velmora::test

// Readable values in test failures.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& texts, std::ostream* out)
{
    *out << '{' << texts.join(", ").toStdString() << '}';
}
