#include "display/Form5.h"
#include "display/Form5Logic.h"
#include "platform/Twips.h"

#include "support/FakeDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QTextBlock>

using platform::twipsToPixels;

namespace {

const QStringList Fonts{QStringLiteral("IPAGothic"), QStringLiteral("IPAMincho"),
                        QStringLiteral("IPAGothic"), QStringLiteral("ipagothic")};

QColor swatchColor(const Form5& w)
{
    return w.Label3->palette().color(QPalette::Window);
}

QColor textColor(const Form5& w)
{
    return w.Text1->palette().color(QPalette::Text);
}

} // namespace

class TestForm5 : public QObject {
    Q_OBJECT

private slots:
    void startSizeAndCaption();
    void startText_data();
    void startText();
    void printRequest_data();
    void printRequest();
    void nothingToPrintWithoutFont();
    void layoutFollowsSize_data();
    void layoutFollowsSize();
    void startColor();
    void colorChoiceAndCancel();
    void fontChoiceKeepsStyleSizeAndColor();
    void sliderKeepsFontAndStyles();
    void keyboardDrivesSliderAndSelector();
    void entriesAndInvalidIndex();
    void viewsAreIndependent();
    void designFontOnlyWhenInstalled();

private:
    FakeDialogs m_dialogs;
};

void TestForm5::startSizeAndCaption()
{
    Form5 w(Fonts, Settings{}, m_dialogs);
    QCOMPARE(w.windowTitle(), QStringLiteral("個別表示"));
    QCOMPARE(w.Slider1->value(), 20);
    QCOMPARE(w.Text1->font().pointSize(), 20);

    w.setListIndex(1);
    QCOMPARE(w.windowTitle(), QStringLiteral("個別表示 / IPAMincho (20pt)"));
    QCOMPARE(w.Text1->font().family(), QStringLiteral("IPAMincho"));
    // The font is really the one drawn, not only a name carried along.
    QCOMPARE(QFontInfo(w.Text1->font()).family(), QStringLiteral("IPAMincho"));
}

void TestForm5::startText_data()
{
    QTest::addColumn<int>("sampleText");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("custom empty") << 1 << QString() << QString();
    QTest::newRow("design text") << 0 << QStringLiteral("使われない") << Form5DesignText;
    QTest::newRow("one line") << 1 << QStringLiteral("永 あア亜 Aa1") << QStringLiteral("永 あア亜 Aa1");
    QTest::newRow("several lines") << 1 << QStringLiteral("一\r\n二\r\n\r\n三")
                                   << QStringLiteral("一\r\n二\r\n\r\n三");
    QTest::newRow("ends with line break") << 1 << QStringLiteral("行\r\n")
                                          << QStringLiteral("行\r\n");
    QTest::newRow("only line breaks") << 1 << QStringLiteral("\r\n\r\n")
                                      << QStringLiteral("\r\n\r\n");
    QTest::newRow("tabs and blanks") << 1 << QStringLiteral(" \ta  b \t")
                                     << QStringLiteral(" \ta  b \t");
}

void TestForm5::startText()
{
    QFETCH(int, sampleText);
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    Settings settings;
    settings.SampleText = sampleText;
    settings.SampleTextStrings = stored;
    Form5 w(Fonts, settings, m_dialogs);
    QCOMPARE(w.Text1Text(), shown);
    QVERIFY(!w.Text1->toPlainText().contains(QLatin1Char('\r')));
}

void TestForm5::printRequest_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("printed");
    QTest::newRow("first line only") << QStringLiteral("一行目\n二行目") << QStringLiteral("一行目");
    QTest::newRow("empty first line") << QStringLiteral("\n二行目") << Form5DefaultPrintText;
    QTest::newRow("empty") << QString() << Form5DefaultPrintText;
    QTest::newRow("single line") << QStringLiteral("見本 text") << QStringLiteral("見本 text");
}

void TestForm5::printRequest()
{
    QFETCH(QString, typed);
    QFETCH(QString, printed);
    Form5 w(Fonts, Settings{}, m_dialogs);
    w.setListIndex(1);
    w.Text1->setPlainText(typed);
    QSignalSpy spy(&w, &Form5::printRequested);
    QTest::mouseClick(w.Command2, Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("IPAMincho"));
    QCOMPARE(spy.at(0).at(1).toString(), printed);
}

void TestForm5::nothingToPrintWithoutFont()
{
    Form5 w(Fonts, Settings{}, m_dialogs);
    QSignalSpy spy(&w, &Form5::printRequested);
    QVERIFY(!w.Command2->isEnabled());
    w.Command2_Click();
    QCOMPARE(spy.count(), 0);
    w.setListIndex(0);
    QVERIFY(w.Command2->isEnabled());
}

void TestForm5::layoutFollowsSize_data()
{
    QTest::addColumn<QSize>("requested");
    QTest::addColumn<QRect>("text1");      // twips
    QTest::addColumn<QPoint>("command2");  // twips
    QTest::newRow("far too small") << QSize(10, 10) << QRect(120, 420, 4035, 775)
                                   << QPoint(3065, 2105);
    QTest::newRow("design") << Form5::designClientSizePixels() << QRect(120, 420, 7335, 3015)
                            << QPoint(6365, 4345);
    QTest::newRow("large") << QSize(800, 600) << QRect(120, 420, 11745, 7350)
                           << QPoint(10775, 8680);
}

void TestForm5::layoutFollowsSize()
{
    QFETCH(QSize, requested);
    QFETCH(QRect, text1);
    QFETCH(QPoint, command2);
    Form5 w(Fonts, Settings{}, m_dialogs);
    w.show();
    w.resize(requested);
    QVERIFY(w.outerSizeTwips().width() >= 4410);
    QVERIFY(w.outerSizeTwips().height() >= 3000);
    const QRect expected(twipsToPixels(text1.x()), twipsToPixels(text1.y()),
                         twipsToPixels(text1.width()), twipsToPixels(text1.height()));
    QCOMPARE(w.Text1->geometry(), expected);
    QCOMPARE(w.Combo1->width(), expected.width());
    // Whole pixels: the smallest window is a few twips above the minimum.
    const QPoint button(twipsToPixels(command2.x()), twipsToPixels(command2.y()));
    QVERIFY((w.Command2->pos() - button).manhattanLength() <= 1);
    // Every control stays inside the window, and no caption is cut.
    for (QWidget* control : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        QVERIFY2(w.rect().contains(control->geometry()), control->metaObject()->className());
    for (QWidget* control : {static_cast<QWidget*>(w.Label1), static_cast<QWidget*>(w.Label2),
                             static_cast<QWidget*>(w.Check1), static_cast<QWidget*>(w.Check2)})
        QVERIFY(control->width() >= control->sizeHint().width());
}

void TestForm5::startColor()
{
    Settings settings;
    settings.SampleTextColor = 0x00FF8010;   // blue FF, green 80, red 10
    Form5 w(Fonts, settings, m_dialogs);
    QCOMPARE(swatchColor(w), QColor(0x10, 0x80, 0xFF));
    QCOMPARE(textColor(w), QColor(0x10, 0x80, 0xFF));

    // A hand-edited negative value: the dialog is offered the colour part only.
    FakeDialogs dialogs;
    settings.SampleTextColor = -1;
    Form5 edited(Fonts, settings, dialogs);
    edited.Command1_Click();
    QCOMPARE(dialogs.colorRequests, QList<std::uint32_t>{0xFFFFFFu});
    QCOMPARE(textColor(edited), QColor(Qt::white));
}

void TestForm5::colorChoiceAndCancel()
{
    FakeDialogs dialogs;
    Settings settings;
    settings.SampleTextColor = 0x123456;
    Form5 w(Fonts, settings, dialogs);

    dialogs.colorAnswers.push_back(0x0000FFu);
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    QCOMPARE(swatchColor(w), QColor(Qt::red));
    QCOMPARE(textColor(w), QColor(Qt::red));

    // Cancel: the dialog's last colour is shown again, whatever the box shows now.
    QPalette stray = w.Text1->palette();
    stray.setColor(QPalette::Text, Qt::green);
    w.Text1->setPalette(stray);
    w.Command1_Click();
    QCOMPARE(textColor(w), QColor(Qt::red));
    QCOMPARE(swatchColor(w), QColor(Qt::red));

    const QList<std::uint32_t> offered{0x123456u, 0x0000FFu};
    QCOMPARE(dialogs.colorRequests, offered);
}

void TestForm5::fontChoiceKeepsStyleSizeAndColor()
{
    FakeDialogs dialogs;
    Form5 w(Fonts, Settings{}, dialogs);
    w.setListIndex(0);
    w.Check1->setChecked(true);
    w.Check2->setChecked(true);
    w.Slider1->setValue(37);
    dialogs.colorAnswers.push_back(0x00FF00u);
    w.Command1_Click();

    w.setListIndex(1);
    const QFont font = w.Text1->font();
    QCOMPARE(font.family(), QStringLiteral("IPAMincho"));
    QVERIFY(font.bold());
    QVERIFY(font.italic());
    QCOMPARE(font.pointSize(), 37);
    QCOMPARE(textColor(w), QColor(Qt::green));
    QCOMPARE(w.windowTitle(), Form5Caption(QStringLiteral("IPAMincho"), 37));

    w.Check1->setChecked(false);
    QVERIFY(!w.Text1->font().bold());
    QVERIFY(w.Text1->font().italic());
}

void TestForm5::sliderKeepsFontAndStyles()
{
    Form5 w(Fonts, Settings{}, m_dialogs);
    w.setListIndex(1);
    w.Check2->setChecked(true);
    for (int points : {1, 100, 55}) {
        w.Slider1->setValue(points);
        QCOMPARE(w.Text1->font().pointSize(), points);
    }
    QCOMPARE(w.Text1->font().family(), QStringLiteral("IPAMincho"));
    QVERIFY(w.Text1->font().italic());
    QVERIFY(!w.Text1->font().bold());
    QCOMPARE(w.windowTitle(), QStringLiteral("個別表示 / IPAMincho (55pt)"));
}

void TestForm5::keyboardDrivesSliderAndSelector()
{
    Form5 w(Fonts, Settings{}, m_dialogs);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    // Without a chosen font the size follows but the caption stays.
    QTest::keyClick(w.Slider1, Qt::Key_Right);
    QCOMPARE(w.Text1->font().pointSize(), 21);
    QCOMPARE(w.windowTitle(), QStringLiteral("個別表示"));

    QTest::keyClick(w.Combo1, Qt::Key_Down);
    QCOMPARE(w.Combo1->currentIndex(), 0);
    QCOMPARE(w.windowTitle(), QStringLiteral("個別表示 / IPAGothic (21pt)"));

    QTest::keyClick(w.Slider1, Qt::Key_PageUp);
    QCOMPARE(w.Text1->font().pointSize(), 31);
    QCOMPARE(w.windowTitle(), QStringLiteral("個別表示 / IPAGothic (31pt)"));
}

void TestForm5::entriesAndInvalidIndex()
{
    Form5 w(Fonts, Settings{}, m_dialogs);
    QCOMPARE(w.Combo1->count(), Fonts.size());
    for (int i = 0; i < Fonts.size(); ++i)
        QCOMPARE(w.Combo1->itemText(i), Fonts.at(i));
    QCOMPARE(w.findEntry(QStringLiteral("IPAGothic")), 0);
    QCOMPARE(w.findEntry(QStringLiteral("ipagothic")), 3);
    QCOMPARE(w.findEntry(QStringLiteral("ＭＳ ゴシック")), -1);

    const QString designFamily = w.Text1->font().family();
    for (int index : {-1, int(Fonts.size()), 1000}) {
        w.setListIndex(index);
        QCOMPARE(w.windowTitle(), QStringLiteral("個別表示"));
        QCOMPARE(w.Text1->font().family(), designFamily);
    }
}

void TestForm5::viewsAreIndependent()
{
    FakeDialogs dialogs;
    Form5 first(Fonts, Settings{}, dialogs);
    Form5 second(Fonts, Settings{}, dialogs);
    first.setListIndex(0);
    second.setListIndex(0);

    first.Check1->setChecked(true);
    first.Slider1->setValue(70);
    first.Text1->setPlainText(QStringLiteral("一つ目"));
    dialogs.colorAnswers.push_back(0xFF0000u);
    first.Command1_Click();

    QVERIFY(!second.Text1->font().bold());
    QCOMPARE(second.Text1->font().pointSize(), 20);
    QCOMPARE(second.Text1Text(), Form5DesignText);
    QCOMPARE(textColor(second), QColor(Qt::black));
    QCOMPARE(second.windowTitle(), QStringLiteral("個別表示 / IPAGothic (20pt)"));

    // Each view's colour dialog starts from its own last colour.
    second.Command1_Click();
    QCOMPARE(dialogs.colorRequests.last(), 0u);
    QCOMPARE(textColor(first), QColor(Qt::blue));
}

void TestForm5::designFontOnlyWhenInstalled()
{
    // A family that is not installed must not be asked for: the font
    // fallback it starts walks every installed family.
    const QString design = QStringLiteral("ＭＳ Ｐゴシック");
    Settings settings;
    Form5 without(Fonts, settings, m_dialogs);
    QVERIFY(!without.Text1->font().families().contains(design));
    QCOMPARE(without.Text1->font().family(), without.font().family());

    Form5 with(QStringList(Fonts) << design, settings, m_dialogs);
    QCOMPARE(with.Text1->font().family(), design);
}

QTEST_MAIN(TestForm5)
#include "tst_form5.moc"
