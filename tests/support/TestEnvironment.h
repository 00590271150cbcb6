#pragma once

#include <QString>
#include <QTemporaryDir>

// Points XDG_CONFIG_HOME, XDG_DATA_HOME and XDG_RUNTIME_DIR at fresh folders
// for the lifetime of the object, so a test never touches the real user's
// settings. FONTCONFIG_FILE is left alone unless useSyntheticFonts() is called.
class TestEnvironment {
public:
    TestEnvironment();
    ~TestEnvironment();
    QString configHome() const;
    QString dataHome() const;
    QString runtimeDir() const;
    QString root() const { return m_dir.path(); }
    // Points fontconfig at the synthetic test fonts built with the tests.
    static void useSyntheticFonts();
    static QString syntheticFontsDir();
    // A font configuration over the synthetic fonts that also reads this
    // environment's user font folder and user conf.d, as the system's
    // configuration reads a real user's; its path, for FONTCONFIG_FILE.
    QString writeUserFontsConfig() const;

private:
    QTemporaryDir m_dir;
    QByteArray m_saved[4];
};
