#include "system/AssociatedProgram.h"
#include "GTestPrinters.h"
#include "ScriptedUi.h"
#include "app/WebHelp.h"
#include "system/FileHelpers.h"
#include "system/StartProgram.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <cstdlib>

using namespace Qt::StringLiterals;
using namespace vastrel;
using vastrel::testing::ScriptedUi;

namespace {

// GIO reads the XDG folders once per process, so the fake browser is registered in main()
// before anything asks.
QTemporaryDir* g_home = nullptr;

QString FakeBrowserPath() {
    return g_home->filePath(u"bin/fakebrowser"_s);
}

QString FakeEditorPath() {
    return g_home->filePath(u"bin/fakeeditor"_s);
}

void RegisterFakeBrowser() {
    QDir home(g_home->path());
    home.mkpath(u"bin"_s);
    home.mkpath(u"data/applications"_s);
    home.mkpath(u"config"_s);
    // The fake browser notes what it was started with.
    WriteTextFile(FakeBrowserPath(),
                  u"#!/bin/sh\necho \"$@\" > \""_s + g_home->filePath(u"started.txt"_s) + u"\"\nexit 0"_s);
    QFile::setPermissions(FakeBrowserPath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    WriteTextFile(home.filePath(u"data/applications/fakebrowser.desktop"_s),
                  u"[Desktop Entry]\nType=Application\nName=Fake Browser\nExec="_s + FakeBrowserPath() +
                      u" %u\nMimeType=x-scheme-handler/https;\n"_s);
    // An editor in a terminal is the program for HTML files, as on many servers and laptops.
    WriteTextFile(FakeEditorPath(), u"#!/bin/sh\nexit 0"_s);
    QFile::setPermissions(FakeEditorPath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    WriteTextFile(home.filePath(u"data/applications/fakeeditor.desktop"_s),
                  u"[Desktop Entry]\nType=Application\nName=Fake Editor\nTerminal=true\nExec="_s +
                      FakeEditorPath() + u" %f\nMimeType=text/html;\n"_s);
    WriteTextFile(home.filePath(u"config/mimeapps.list"_s),
                  u"[Default Applications]\ntext/html=fakeeditor.desktop\n"
                  u"x-scheme-handler/https=fakebrowser.desktop\n"_s);
    qputenv("XDG_DATA_HOME", home.filePath(u"data"_s).toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(u"config"_s).toUtf8());
    // The system's MIME database stays reachable; its default applications do not count.
    qputenv("XDG_CONFIG_DIRS", home.filePath(u"nothing"_s).toUtf8());
}

TEST(FindAssociatedProgram, FindsTheProgramRegisteredForAFile) {
    const QString page = g_home->filePath(u"vst.htm"_s);
    ASSERT_TRUE(WriteTextFile(page, QString()));
    EXPECT_EQ(FindAssociatedProgram(page), FakeEditorPath());
}

// The browser is the program for web addresses; an editor in a terminal is none.
TEST(FindWebBrowser, AsksForWebAddressesFirstAndTakesNoTerminalProgram) {
    const QString page = g_home->filePath(u"vst.htm"_s);
    ASSERT_TRUE(WriteTextFile(page, QString()));
    EXPECT_EQ(FindWebBrowser(page), FakeBrowserPath());
    EXPECT_EQ(FindWebBrowser(page, {u"zzq-unbekannt"_s}), QString());
}

TEST(FindAssociatedProgram, GivesNothingWithoutARegistration) {
    const QString file = g_home->filePath(u"daten.zzq-unbekannt"_s);
    ASSERT_TRUE(WriteTextFile(file, QString()));
    EXPECT_EQ(FindAssociatedProgram(file), QString());
}

TEST(WebHelpWithThePlatform, StartsTheRegisteredBrowserWithTheHomePage) {
    ScriptedUi ui; // no box scripted: a message would fail the test
    ShowWebHelp(
        ui, g_home->path(), [](const QString& page) { return FindWebBrowser(page); }, StartProgram);
    QFile started(g_home->filePath(u"started.txt"_s));
    for (int i = 0; i < 500 && started.size() == 0; ++i) { // the browser runs on its own
        QThread::msleep(10);
    }
    ASSERT_TRUE(started.open(QIODevice::ReadOnly));
    EXPECT_EQ(started.readAll().trimmed(), QByteArray("www.vastrel.example"));
    EXPECT_FALSE(QFile::exists(g_home->filePath(u"vst.htm"_s)));
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    g_home = &home;
    RegisterFakeBrowser();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
