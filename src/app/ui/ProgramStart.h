#pragma once

#include "base/ProgramDir.h"

#include <QStringList>

#include <memory>
#include <optional>

class MainWindow;
class QtDesktopServices;
class SplashWindow;
class TabloraApplication;

// The program's start, step by step: main runs the steps one after another;
// the window bench (bench/) runs the same steps and times what lies between.
class ProgramStart
{
public:
    ProgramStart(TabloraApplication &app, QtDesktopServices &desktop);
    ~ProgramStart();
    ProgramStart(const ProgramStart &) = delete;
    ProgramStart &operator=(const ProgramStart &) = delete;

    // The translation, the desktop's name and icon for the program, its
    // folder and the splash's steps. False, with the reason shown, when the
    // program has no folder of its own, without which it can keep nothing.
    bool prepare();
    // The main window for the arguments after the program's name (a
    // database to open), with the error handler in place; the splash goes.
    MainWindow &makeWindow(const QStringList &arguments);
    // The steps before the window is first displayed, the login among them.
    // False when the login was left without logging in: the program ends.
    bool login();
    // Shows the window and runs until the program ends; the exit code.
    int run();

private:
    TabloraApplication &m_app;
    QtDesktopServices &m_desktop;
    std::optional<ProgramDir> m_dir;
    std::unique_ptr<SplashWindow> m_splash;
    std::unique_ptr<MainWindow> m_window;
};
