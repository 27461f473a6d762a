#pragma once

class QCoreApplication;

// The program's one Qt application object. Programs, tools and every test program (through
// the shared GoogleTest environment) make it here, on the thread that becomes the
// user-interface thread, before the first window: its event loop delivers the posted
// messages.
//
// Which kind of object: a widget can only be made while a QApplication is the application
// object (made after a QCoreApplication, it aborts the process), but a QApplication needs
// Qt Widgets, which the engine, its tests and its benches must not link. So the maker here
// makes a QCoreApplication, unless a maker was installed before: the user-interface layer,
// the only target that links Qt Widgets, installs a QApplication maker as the program
// starts, from a static initialiser in a file that every program making a widget links
// (the one that gives widgets their handles). A program that links no user-interface
// layer therefore gets the QCoreApplication and no Qt Widgets.

// Makes the application object on the calling thread unless one exists. Qt keeps argc and
// argv for the object's lifetime; the program's own name is the only argument.
void EnsureApplication();

// Destroys the application object that EnsureApplication made, after the objects still
// waiting for deletion, on the thread that made it. Programs call it before main returns: Qt's
// own clean-up must run while the program still runs, not among the C runtime's exit
// handlers, where the libraries it calls into may already be gone.
void EndApplication();

// Makes the application object from the arguments; it lives until EndApplication.
using ApplicationMaker = QCoreApplication* (*)(int& argc, char** argv);

// Installs the maker EnsureApplication uses. Call as the program starts (static
// initialisation), before anything can make the application object.
void SetApplicationMaker(ApplicationMaker maker);
