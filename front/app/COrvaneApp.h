#pragma once

namespace velmora::front {

// The program: logging, the language of the machine, and the main window run as a modal dialog.
class COrvaneApp {
public:
    COrvaneApp(int& argc, char** argv);

    // Start-up in its fixed order. Always false: the program ends when the window closes.
    bool InitInstance();

private:
    int& argc_;
    char** argv_;
};

}  // namespace velmora::front
