#include "system/AssociatedProgram.h"
#include "GTestPrinters.h"
#include "system/FileHelpers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

using namespace Qt::StringLiterals;
using namespace vastrel;

namespace {

// GIO reads the XDG folders once per process, so the fake browser is registered in main()
// before anything asks.
QTemporaryDir* g_home = nullptr;

QString FakeBrowserPath() {
    return g_home->filePath(u"bin/fakebrowser"_s);
}

void RegisterFakeBrowser() {
    QDir home(g_home->path());
    home.mkpath(u"bin"_s);
    home.mkpath(u"data/applications"_s);
    home.mkpath(u"config"_s);
    WriteTextFile(FakeBrowserPath(), u"#!/bin/sh\nexit 0"_s);
    QFile::setPermissions(FakeBrowserPath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    WriteTextFile(home.filePath(u"data/applications/fakebrowser.desktop"_s),
                  u"[Desktop Entry]\nType=Application\nName=Fake Browser\nExec="_s + FakeBrowserPath() +
                      u" %u\nMimeType=text/html;\n"_s);
    WriteTextFile(home.filePath(u"config/mimeapps.list"_s),
                  u"[Default Applications]\ntext/html=fakebrowser.desktop\n"_s);
    qputenv("XDG_DATA_HOME", home.filePath(u"data"_s).toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(u"config"_s).toUtf8());
    // The system's MIME database stays reachable; its default applications do not count.
    qputenv("XDG_CONFIG_DIRS", home.filePath(u"nothing"_s).toUtf8());
}

TEST(FindAssociatedProgram, FindsTheRegisteredBrowserForAPage) {
    const QString page = g_home->filePath(u"vst.htm"_s);
    ASSERT_TRUE(WriteTextFile(page, QString()));
    EXPECT_EQ(FindAssociatedProgram(page), FakeBrowserPath());
}

TEST(FindAssociatedProgram, GivesNothingWithoutARegistration) {
    const QString file = g_home->filePath(u"daten.zzq-unbekannt"_s);
    ASSERT_TRUE(WriteTextFile(file, QString()));
    EXPECT_EQ(FindAssociatedProgram(file), QString());
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    g_home = &home;
    RegisterFakeBrowser();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
