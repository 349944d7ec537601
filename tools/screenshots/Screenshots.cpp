// Saves a picture of the main window in the welcome state and in each of its six modes.

#include "core/ControlIds.h"
#include "main/CMediaMaster.h"
#include "support/Desktop.h"
#include "log/Log.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    LogInit("Velmora");
    if (argc < 2) {
        std::fputs("usage: orvane-screenshots FOLDER [--spanish]\n", stderr);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const bool english = !(argc > 2 && std::strcmp(argv[2], "--spanish") == 0);

    velmora::front::SystemDesktop desktop;
    velmora::front::CMediaMaster window(english, desktop);
    window.show();
    QApplication::processEvents();

    const auto save = [&](const QString& name) {
        QApplication::processEvents();
        const QString file = folder.filePath(name);
        if (!window.grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            std::exit(1);
        }
    };
    save("mode-0-welcome.png");
    using namespace velmora::front::control;
    const std::pair<int, const char*> modes[] = {
        {kAudioConverterButton, "mode-1-audio-converter.png"}, {kVideoConverterButton, "mode-2-video-converter.png"},
        {kDvdCreatorButton, "mode-3-dvd-creator.png"},         {kAudioBurnerButton, "mode-4-audio-burner.png"},
        {kCdDataBurnerButton, "mode-5-cd-data-burner.png"},    {kDvdDataBurnerButton, "mode-6-dvd-data-burner.png"},
    };
    for (const auto& [button, name] : modes) {
        static_cast<QAbstractButton*>(window.Control(button))->click();
        save(name);
    }
    return 0;
}
