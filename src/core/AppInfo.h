#pragma once
// Identity and paths of the application, set once at start-up and read by every
// part of the program.
#include <QString>

namespace mainMod {

QString AppName();         // "Quavero"
QString AppVersion();      // "major.minor.revision"
QString AppVersionShort(); // "major.minor", for the window caption
bool IsBeta();
QString LangFolder();       // AppFolder() + "Lang/"
QString ExePath();          // AppFolder() + the executable's name
QString ServerHelpPath();   // AppFolder() + "Help/srvhelp.htm"
QString ServerConfigPath(); // AppFolder() + "qvsrvcfg"
// "Software\Kestrel\Quavero": where every setting lives.
QString SettingsRoot();

} // namespace mainMod
