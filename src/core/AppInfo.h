#pragma once
// Identity and paths of the application, set once at start-up and read by every
// part of the program.
#include <QString>

namespace mainMod {

QString AppName();         // "Quavero"
QString AppVersion();      // "major.minor.revision"
QString AppVersionShort(); // "major.minor", for the window caption
bool IsBeta();
// The folder of the files the program ships (languages, the library template,
// help): PREFIX/share/quavero/ for an installed program (the executable in
// PREFIX/bin), else the application folder itself (a build tree or a portable copy).
QString ResourceFolder();
// True when ResourceFolder() is an installed share folder: nothing is written there.
bool IsInstalled();
QString LangFolder();       // ResourceFolder() + "Lang/"
QString ExePath();          // AppFolder() + the executable's name
QString ServerHelpPath();   // ResourceFolder() + "Help/srvhelp.htm"
QString ServerConfigPath(); // AppFolder() + "qvsrvcfg"
// "Software\Kestrel\Quavero": where every setting lives.
QString SettingsRoot();

} // namespace mainMod
