#include "window/sample_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdlib>
#include <stdexcept>

namespace rv::test {

void WriteFile(const QString& path, const QByteArray& content) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        throw std::runtime_error("cannot create the folder of " + path.toStdString());
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) {
        throw std::runtime_error("cannot write " + path.toStdString());
    }
}

std::string EditionKey(const char* edition) {
    return std::string("SOFTWARE\\Zentor Technology\\Installed Apps\\") + edition;
}

namespace {

// A hive escapes backslashes in key names and in texts.
QByteArray Escaped(const std::string& text) {
    return QByteArray::fromStdString(text).replace("\\", "\\\\");
}

}  // namespace

void MakeWinePrefix(const QString& prefix, const std::vector<RegisteredEdition>& editions) {
    QByteArray hive =
        "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n";
    for (const RegisteredEdition& edition : editions) {
        hive += "\n[" + Escaped(edition.key) + "] 1700000000\n#time=1d9a0b0c0d0e0f0\n";
        hive += "\"Folder\"=\"" + Escaped(edition.folder) + "\"\n";
    }
    WriteFile(prefix + "/system.reg", hive);
    QDir().mkpath(prefix + "/drive_c");
    QDir().mkpath(prefix + "/dosdevices");
    QFile::link("../drive_c", prefix + "/dosdevices/c:");
    ::setenv("WINEPREFIX", QFile::encodeName(prefix).constData(), 1);
}

void MakeGameFolder(const QString& game) {
    for (const char* sub :
         {"Animations", "Maps", "Music", "Sounds", "StaticMeshes", "System", "Textures"}) {
        QDir().mkpath(game + "/" + sub);
    }
}

void MakeSampleAddOn(const QString& addon, const QString& game) {
    for (const char* file :
         {"Maps/DM-Harbour.rv2", "Maps/CTF-Ridge.rv2", "Textures/Harbour.utx", "Sounds/Harbour.uax",
          "Music/Harbour.ogg", "System/Harbour.u", "System/Harbour.int", "Docs/Readme.txt",
          "Extra/Deep/Crate.usx", "Extra/Deep/Crate.ukx"}) {
        WriteFile(addon + "/" + file, QByteArray("add-on ") + file);
    }
    MakeGameFolder(game);
    WriteFile(game + "/Maps/CTF-Ridge.rv2", "installed");
    WriteFile(game + "/System/Harbour.int", "installed");
}

}  // namespace rv::test
