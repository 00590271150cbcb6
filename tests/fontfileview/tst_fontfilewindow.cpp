#include "fontfileview/DisabledFontsWindow.h"
#include "fontfileview/FileSample.h"
#include "fontfileview/FontFileWindow.h"

#include "fontfiles/DisabledFonts.h"
#include "support/FakeDialogs.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

namespace {

QString small(const QString& name)
{
    return QStringLiteral(GLYFARO_SMALL_FONTS "/") + name;
}

} // namespace

class FontFileWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_environment = std::make_unique<TestEnvironment>();
        qputenv("FONTCONFIG_FILE", m_environment->writeUserFontsConfig().toLocal8Bit());
        m_dialogs = FakeDialogs();
    }

    void cleanup() { m_environment.reset(); }

    // A file from outside through every button: installed, switched off and
    // on, removed to the trash; each step with its box and the state the
    // window shows at once.
    void installSwitchAndRemove()
    {
        FontFileWindow window(ScanFontFile(small(u"pair-sans.ttf"_qs)), m_dialogs, UserFontPlaces(), u"Abc あ"_qs);
        QCOMPARE(window.windowTitle(), u"フォントファイル / pair-sans.ttf"_qs);
        // Where it stands follows the first drawing of the sample.
        QVERIFY(!window.standingKnown());
        QVERIFY(!window.InstallButton->isEnabled());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(window.standingKnown());
        QCOMPARE(window.StandingLabel->text(), u"インストールされていません"_qs);
        QVERIFY(window.InstallButton->isEnabled());
        QVERIFY(!window.SwitchButton->isEnabled());
        QVERIFY(!window.RemoveButton->isVisible());

        struct Step {
            QPushButton* button;
            QString box;
            QString standing;
            bool installEnabled;
            QString switchText;
            bool removeVisible;
        };
        const QString copy = m_environment->dataHome() + u"/fonts/pair-sans.ttf"_qs;
        const Step steps[] = {
            {window.InstallButton, u"インストールしました。\r"_qs + copy, u"インストール済み（同じファイル）"_qs, false,
             u"無効にする"_qs, true},
            {window.SwitchButton, u"無効にしました。"_qs, u"無効にされています（このユーザーのプログラムには見えません）"_qs,
             false, u"有効にする"_qs, false},
            {window.SwitchButton, u"有効にしました。"_qs, u"インストール済み（同じファイル）"_qs, false, u"無効にする"_qs, true},
            {window.RemoveButton, u"ごみ箱に移しました。\r"_qs + copy, u"インストールされていません"_qs, true,
             u"無効にする"_qs, false},
        };
        for (const Step& step : steps) {
            m_dialogs.boxes.clear();
            QTest::mouseClick(step.button, Qt::LeftButton);
            QVERIFY(!m_dialogs.boxes.isEmpty());
            QVERIFY2(m_dialogs.boxes.last().text.startsWith(step.box), qPrintable(m_dialogs.boxes.last().text));
            QCOMPARE(window.StandingLabel->text(), step.standing);
            QCOMPARE(window.InstallButton->isEnabled(), step.installEnabled);
            QCOMPARE(window.SwitchButton->text(), step.switchText);
            QCOMPARE(window.RemoveButton->isVisible(), step.removeVisible);
        }
        // The install box says who it was for; the remove asked first.
        QVERIFY(QFile::exists(m_environment->dataHome() + u"/Trash/files/pair-sans.ttf"_qs));
    }

    void anotherFileOfTheFamily()
    {
        FontFileWindow installer(ScanFontFile(small(u"pair-sans-condensed.ttf"_qs)), m_dialogs, UserFontPlaces(), u"A"_qs);
        QTRY_VERIFY(installer.standingKnown());
        QTest::mouseClick(installer.InstallButton, Qt::LeftButton);
        FontFileWindow window(ScanFontFile(small(u"pair-sans.ttf"_qs)), m_dialogs, UserFontPlaces(), u"A"_qs);
        QTRY_VERIFY(window.standingKnown());
        QCOMPARE(window.StandingLabel->text(), u"同じ名前の別のファイルがインストールされています"_qs);
        // Both files side by side, with their paths, versions and sizes.
        QCOMPARE(window.Files->rowCount(), 2);
        QCOMPARE(window.Files->item(0, 1)->text(), small(u"pair-sans.ttf"_qs));
        QCOMPARE(window.Files->item(1, 1)->text(), m_environment->dataHome() + u"/fonts/pair-sans-condensed.ttf"_qs);
        QVERIFY(!window.Files->item(1, 2)->text().isEmpty());
        QVERIFY(window.Files->item(1, 3)->text().contains(u','));
        QVERIFY(window.InstallButton->isEnabled());
    }

    void collectionFaces()
    {
        FontFileWindow window(ScanFontFile(small(u"pair-mincho.ttc"_qs)), m_dialogs, UserFontPlaces(), u"Abc"_qs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.FaceList->isVisible());
        QCOMPARE(window.FaceList->count(), 2);
        QCOMPARE(window.FaceList->itemText(1), u"Pair Mincho Bold"_qs);
        window.FaceList->setFocus();
        QTest::keyClick(window.FaceList, Qt::Key_Down);
        QCOMPARE(window.faceIndex(), 1);
        QSignalSpy details(&window, &FontFileWindow::detailsRequested);
        QSignalSpy map(&window, &FontFileWindow::characterMapRequested);
        QSignalSpy typesetting(&window, &FontFileWindow::typesettingRequested);
        QTest::mouseClick(window.DetailsButton, Qt::LeftButton);
        QTest::mouseClick(window.CharacterMapButton, Qt::LeftButton);
        QTest::mouseClick(window.TypesettingButton, Qt::LeftButton);
        const QVariantList bold{u"Pair Mincho Bold"_qs, small(u"pair-mincho.ttc"_qs), 1};
        QCOMPARE(details.value(0), bold);
        QCOMPARE(map.value(0), bold);
        QCOMPARE(typesetting.value(0), bold);
    }

    void sampleInTheFilesOwnGlyphs_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("missing");
        QTest::addColumn<int>("unmapped");
        const char32_t sequence[] = {U'亜', 0xE0100};
        QTest::newRow("Latin only, kana typed") << u"latin-blank.ttf"_qs << u"Abc あい"_qs << 2 << 0;
        QTest::newRow("kanji it has") << u"embed-0.ttf"_qs << u"亜唖 A"_qs << 0 << 0;
        QTest::newRow("a character beyond the BMP") << u"embed-0.ttf"_qs << u"𠮷"_qs << 1 << 0;
        QTest::newRow("a sequence it lacks: the base, marked")
            << u"embed-0.ttf"_qs << QString::fromUcs4(sequence, 2) + u"唖"_qs << 0 << 1;
        QTest::newRow("a selector after nothing") << u"embed-0.ttf"_qs << u" \U000E0100A"_qs << 0 << 0;
    }

    void sampleInTheFilesOwnGlyphs()
    {
        QFETCH(QString, file);
        QFETCH(QString, text);
        QFETCH(int, missing);
        QFETCH(int, unmapped);
        FontFileWindow window(ScanFontFile(small(file)), m_dialogs, UserFontPlaces(), QString());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // Japanese comes in as an input method commits it.
        window.SampleText->setFocus();
        QInputMethodEvent typed;
        typed.setCommitString(text);
        QApplication::sendEvent(window.SampleText, &typed);
        QCOMPARE(window.SampleText->text(), text);
        QVERIFY(window.Sample->readable());
        QCOMPARE(window.Sample->missingCharacters(), missing);
        QCOMPARE(window.Sample->unmappedSequences(), unmapped);
        // Bigger text asks for more room; bold, italic and a colour draw.
        const int small = window.Sample->sizeHint().width();
        window.SizeBox->setValue(100);
        QVERIFY(window.Sample->sizeHint().width() > small);
        QTest::mouseClick(window.BoldCheck, Qt::LeftButton);
        QTest::mouseClick(window.ItalicCheck, Qt::LeftButton);
        m_dialogs.colorAnswers.push_back(0x0000FFu);
        QTest::mouseClick(window.ColorButton, Qt::LeftButton);
        QCOMPARE(m_dialogs.colorRequests.size(), 1);
        const QImage drawn = window.Sample->grab().toImage();
        bool red = false;
        for (int y = 0; y < drawn.height() && !red; ++y) {
            for (int x = 0; x < drawn.width() && !red; ++x) {
                const QColor pixel = drawn.pixelColor(x, y);
                red = pixel.red() > 200 && pixel.green() < 80 && pixel.blue() < 80;
            }
        }
        QVERIFY(red);
    }

    // The switched-off list: what is chosen there is switched on again,
    // the rest stays off.
    void switchedOffFontsListed()
    {
        const FontPlaces places = UserFontPlaces();
        const QList<platform::FontFace> faces = platform::InstalledFacesNow();
        const QString first = FilesOfFamily(u"Aynth Sans 0000"_qs, faces).value(0);
        const QString second = FilesOfFamily(u"Bynth Sans 0008"_qs, faces).value(0);
        QVERIFY(DisableFonts({{first, u"Aynth Sans 0000"_qs}, {second, u"Bynth Sans 0008"_qs}}, places).error.isEmpty());
        DisabledFontsWindow window(m_dialogs, places);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.Fonts->count(), 2);
        QCOMPARE(window.CountLabel->text(), u"総数: 2 個"_qs);
        QVERIFY(!window.EnableButton->isEnabled());
        QTest::mouseClick(window.Fonts->viewport(), Qt::LeftButton, {},
                          window.Fonts->visualItemRect(window.Fonts->item(1)).center());
        QTest::mouseClick(window.EnableButton, Qt::LeftButton);
        QVERIFY(m_dialogs.boxes.last().text.startsWith(u"1 個のフォントを有効にしました。"_qs));
        QCOMPARE(window.Fonts->count(), 1);
        QVERIFY(window.Fonts->item(0)->text().startsWith(u"Aynth Sans 0000"_qs));
        QCOMPARE(ReadDisabledFonts(places).fonts.value(0).path, first);
        QVERIFY(!FilesOfFamily(u"Bynth Sans 0008"_qs, platform::InstalledFacesNow()).isEmpty());
    }

private:
    std::unique_ptr<TestEnvironment> m_environment;
    FakeDialogs m_dialogs;
};

QTEST_MAIN(FontFileWindowTest)
#include "tst_fontfilewindow.moc"
