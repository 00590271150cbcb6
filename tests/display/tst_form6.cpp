#include "display/Form6.h"
#include "display/Form6Logic.h"
#include "core/Messages.h"
#include "core/SettingsStore.h"
#include "platform/Twips.h"

#include "support/TestPlatform.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QTimer>

using platform::twipsToPixels;

namespace {

SystemInfo smoothingSystem(std::int32_t supported, std::int32_t on)
{
    SystemInfo info;
    info.SmoothingSupported = supported;
    info.SmoothingOn = on;
    return info;
}

// Every field, so that a test can tell whether anything at all changed.
QStringList fields(const Settings& s)
{
    return {QString::number(s.MaxWindow), QString::number(s.StartupOverall),
            QString::number(s.StartupIndexof), QString::number(s.EndQuestion),
            QString::number(s.SampleText), s.SampleTextStrings, QString::number(s.SampleTextSize),
            QString::number(s.SampleTextColor), QString::number(s.PreviewText), s.PreviewTextStrings,
            QString::number(s.Left), QString::number(s.Top), QString::number(s.AlwaysTop)};
}

QColor swatchColor(const Form6& w)
{
    return w.Label3->palette().color(QPalette::Window);
}

} // namespace

class TestForm6 : public QObject {
    Q_OBJECT

private slots:
    void sizeLabel_data();
    void sizeLabel();
    void loadsEveryControl();
    void checkBoxesEnableTheirTexts();
    void okCopiesEveryControl();
    void smoothingQuestion_data();
    void smoothingQuestion();
    void smoothingAppliedOnOkOnly();
    void withoutSmoothingThePlatformIsLeftAlone();
    void failedSmoothingEndsTheProgram();
    void previewRefresh_data();
    void previewRefresh();
    void cancelChangesNothing();
    void emptiedCustomTextIsStoredAsMarker();
    void colourChoice();
    void scrollBarPassesTheFocusOn();
    void tabOrder();
    void placedBelowTheOwner();
    void opensModally();
    void sampleAntialiasing();
    void nothingIsClipped();
    void screenshot();
};

void TestForm6::sizeLabel_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("label");
    QTest::newRow("default") << 81 << QStringLiteral("20 pt");
    QTest::newRow("top of the bar") << 1 << QStringLiteral("100 pt");
    QTest::newRow("bottom of the bar") << 100 << QStringLiteral("1 pt");
    QTest::newRow("hand-edited below") << -5 << QStringLiteral("100 pt");
    QTest::newRow("hand-edited above") << 400 << QStringLiteral("1 pt");
}

void TestForm6::sizeLabel()
{
    QFETCH(int, value);
    QFETCH(QString, label);
    TestPlatform p;
    Settings settings;
    settings.SampleTextSize = value;
    SystemInfo info;
    Form6 w(settings, info, p.platform);
    QCOMPARE(w.Label2->text(), label);

    // The label follows the bar, and the up arrow makes the size larger.
    w.VScroll1->setValue(50);
    QCOMPARE(w.Label2->text(), QStringLiteral("51 pt"));
    w.VScroll1->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(w.Label2->text(), QStringLiteral("52 pt"));
}

void TestForm6::loadsEveryControl()
{
    TestPlatform p;
    Settings settings;
    settings.StartupOverall = 0;
    settings.StartupIndexof = 1;
    settings.MaxWindow = 1;
    settings.EndQuestion = 0;
    settings.SampleText = 1;
    settings.SampleTextStrings = QStringLiteral("一行目\r\n\r\n三行目\r\n");
    settings.SampleTextColor = 0x00FF8010;
    settings.PreviewText = 1;
    settings.PreviewTextStrings = QStringLiteral("永 あア亜 Aa1");
    SystemInfo info = smoothingSystem(1, 1);
    Form6 w(settings, info, p.platform);

    QVERIFY(!w.Check1[11]->isChecked());
    QVERIFY(w.Check1[10]->isChecked());
    QVERIFY(w.Check1[9]->isChecked());
    QVERIFY(!w.Check1[7]->isChecked());
    QVERIFY(w.Check1[12]->isChecked());
    QVERIFY(w.Text1->isEnabled());
    QCOMPARE(w.controls().SampleTextStrings, settings.SampleTextStrings);
    QCOMPARE(swatchColor(w), QColor(0x10, 0x80, 0xFF));
    QVERIFY(w.Check2->isEnabled());
    QVERIFY(w.Check2->isChecked());
    QVERIFY(w.Check1[0]->isChecked());
    QVERIFY(w.Text2->isEnabled());
    QCOMPARE(w.Text2->text(), settings.PreviewTextStrings);
    QCOMPARE(w.windowTitle(), QStringLiteral("環境設定"));
    QCOMPARE(w.size(), QSize(twipsToPixels(7740), twipsToPixels(2760)));

    // The defaults: texts disabled, smoothing box unticked when smoothing is off.
    Settings defaults;
    SystemInfo off = smoothingSystem(1, 0);
    Form6 fresh(defaults, off, p.platform);
    QVERIFY(!fresh.Text1->isEnabled());
    QVERIFY(!fresh.Text2->isEnabled());
    QVERIFY(fresh.Check2->isEnabled());
    QVERIFY(!fresh.Check2->isChecked());
}

void TestForm6::checkBoxesEnableTheirTexts()
{
    TestPlatform p;
    Settings settings;
    SystemInfo info;
    Form6 w(settings, info, p.platform);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::mouseClick(w.Check1[12], Qt::LeftButton);
    QVERIFY(w.Text1->isEnabled());
    QTest::mouseClick(w.Check1[0], Qt::LeftButton);
    QVERIFY(w.Text2->isEnabled());
    QTest::mouseClick(w.Check1[12], Qt::LeftButton);
    QVERIFY(!w.Text1->isEnabled());
    QVERIFY(w.Text2->isEnabled());
    QTest::mouseClick(w.Check1[0], Qt::LeftButton);
    QVERIFY(!w.Text2->isEnabled());
}

void TestForm6::okCopiesEveryControl()
{
    TestPlatform p;
    Settings settings;
    settings.Left = 777;
    SystemInfo info = smoothingSystem(1, 1);
    Form6 w(settings, info, p.platform);
    w.Check1[11]->setChecked(false);
    w.Check1[10]->setChecked(true);
    w.Check1[9]->setChecked(true);
    w.Check1[7]->setChecked(false);
    w.Check1[12]->setChecked(true);
    w.Text1->setPlainText(QStringLiteral("あ\nい"));
    w.VScroll1->setValue(64);
    p.dialogs.colorAnswers.push_back(0x00123456u);
    w.Command4_Click();
    w.Check1[0]->setChecked(true);
    w.Text2->setText(QStringLiteral("見本"));
    QTest::mouseClick(w.Command1, Qt::LeftButton);

    QCOMPARE(w.result(), int(QDialog::Accepted));
    QVERIFY(w.outcome().accepted);
    QCOMPARE(settings.StartupOverall, 0);
    QCOMPARE(settings.StartupIndexof, 1);
    QCOMPARE(settings.MaxWindow, 1);
    QCOMPARE(settings.EndQuestion, 0);
    QCOMPARE(settings.SampleText, 1);
    QCOMPARE(settings.SampleTextStrings, QStringLiteral("あ\r\nい"));
    QCOMPARE(settings.SampleTextSize, 64);
    QCOMPARE(settings.SampleTextColor, 0x00123456);
    QCOMPARE(settings.PreviewText, 1);
    QCOMPARE(settings.PreviewTextStrings, QStringLiteral("見本"));
    QCOMPARE(settings.Left, 777);
}

void TestForm6::smoothingQuestion_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("ticked");
    QTest::newRow("left, yes") << Qt::LeftButton << int(platform::AnswerYes) << false;
    QTest::newRow("left, no") << Qt::LeftButton << int(platform::AnswerNo) << true;
    QTest::newRow("right, yes") << Qt::RightButton << int(platform::AnswerYes) << false;
    QTest::newRow("right, no") << Qt::RightButton << int(platform::AnswerNo) << true;
    QTest::newRow("middle, yes") << Qt::MiddleButton << int(platform::AnswerYes) << false;
}

void TestForm6::smoothingQuestion()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, answer);
    QFETCH(bool, ticked);
    TestPlatform p;
    Settings settings;
    SystemInfo info = smoothingSystem(1, 1);
    Form6 w(settings, info, p.platform);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    p.dialogs.answers.push_back(answer);
    QTest::mouseClick(w.Check2, button);
    QCOMPARE(p.dialogs.boxes.size(), 1);
    const QString expected = QStringLiteral(
        "なめらかフォント設定は、スクリーンフォントの縁をなめらかに\r"
        "するかどうかの設定です。この設定は他のソフトなどにも適応されます。\r\r"
        "設定を変更してもよろしいですか？");
    QCOMPARE(p.dialogs.boxes[0].text, expected);
    QCOMPARE(p.dialogs.boxes[0].style, platform::MbYesNo | platform::MbQuestion);
    QCOMPARE(p.dialogs.boxes[0].title, QStringLiteral("Glyfaro 2"));
    QCOMPARE(w.Check2->isChecked(), ticked);
    // The system setting waits for OK.
    QVERIFY(p.system.smoothingOn);
    QCOMPARE(info.SmoothingOn, 1);

    // Yes a second time turns it back.
    p.dialogs.answers.push_back(platform::AnswerYes);
    QTest::mouseClick(w.Check2, button);
    QCOMPARE(w.Check2->isChecked(), !ticked);

    // The space bar does not slip past the question either.
    p.dialogs.answers.push_back(platform::AnswerNo);
    w.Check2->setFocus();
    QTest::keyClick(w.Check2, Qt::Key_Space);
    QCOMPARE(p.dialogs.boxes.size(), 3);
    QCOMPARE(w.Check2->isChecked(), !ticked);
}

void TestForm6::smoothingAppliedOnOkOnly()
{
    TestPlatform p;
    p.system.smoothingOn = false;
    Settings settings;
    SystemInfo info = smoothingSystem(1, 0);
    {
        Form6 w(settings, info, p.platform);
        w.Check2_MouseDown(); // the fake answers Yes
        QVERIFY(!p.system.smoothingOn);
        w.Command1_Click();
        QVERIFY(p.system.smoothingOn);
        QCOMPARE(info.SmoothingOn, 1);
        QVERIFY(w.outcome().smoothingChanged);
    }
    {
        // OK without a change sets the same state again and reports no change.
        Form6 w(settings, info, p.platform);
        w.Command1_Click();
        QVERIFY(p.system.smoothingOn);
        QCOMPARE(info.SmoothingOn, 1);
        QVERIFY(!w.outcome().smoothingChanged);
        QVERIFY(w.outcome().accepted);
    }
}

void TestForm6::withoutSmoothingThePlatformIsLeftAlone()
{
    TestPlatform p;
    p.system.smoothingOn = true;
    Settings settings;
    SystemInfo info = smoothingSystem(0, 1);
    Form6 w(settings, info, p.platform);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(!w.Check2->isEnabled());
    QVERIFY(!w.Check2->isChecked());
    QTest::mouseClick(w.Check2, Qt::LeftButton);
    QVERIFY(p.dialogs.boxes.isEmpty());

    // Unticked, so a call to the platform would have switched smoothing off.
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    QVERIFY(p.system.smoothingOn);
    QCOMPARE(info.SmoothingOn, 1);
    QVERIFY(w.outcome().accepted);
    QVERIFY(!w.outcome().smoothingChanged);
}

void TestForm6::failedSmoothingEndsTheProgram()
{
    TestPlatform p;
    p.system.smoothingSwitchWorks = false;
    Settings settings;
    SystemInfo info = smoothingSystem(1, 1);
    Form6 w(settings, info, p.platform);
    w.Check2_MouseDown();
    w.Command1_Click();

    QCOMPARE(p.system.endCalls, 1);
    QCOMPARE(p.dialogs.boxes.size(), 2);
    QCOMPARE(p.dialogs.boxes[1].text, QStringLiteral("予期せぬエラーが発生しました。強制終了します。"));
    QCOMPARE(p.dialogs.boxes[1].style, int(platform::MbCritical));
    QCOMPARE(info.SmoothingOn, 1);
    QVERIFY(w.outcome().smoothingFailed);
    QVERIFY(!w.outcome().accepted);
}

void TestForm6::previewRefresh_data()
{
    QTest::addColumn<int>("previewText");
    QTest::addColumn<QString>("previewTextStrings");
    QTest::addColumn<bool>("changed");
    QTest::newRow("unchanged") << 1 << QStringLiteral("ABC あいう") << false;
    QTest::newRow("unticked") << 0 << QStringLiteral("ABC あいう") << true;
    QTest::newRow("text edited") << 1 << QStringLiteral("ABC あいう漢字") << true;
    QTest::newRow("text emptied") << 1 << QString() << true;
}

void TestForm6::previewRefresh()
{
    QFETCH(int, previewText);
    QFETCH(QString, previewTextStrings);
    QFETCH(bool, changed);
    TestPlatform p;
    Settings settings;
    settings.PreviewText = 1;
    settings.PreviewTextStrings = QStringLiteral("ABC あいう");
    SystemInfo info;
    Form6 w(settings, info, p.platform);
    w.Check1[0]->setChecked(previewText == 1);
    w.Text2->setText(previewTextStrings);
    w.Command1_Click();
    QCOMPARE(w.outcome().previewChanged, changed);
    QCOMPARE(settings.PreviewText, previewText);
    QCOMPARE(settings.PreviewTextStrings, previewTextStrings);
}

void TestForm6::cancelChangesNothing()
{
    for (const bool byFrame : {false, true}) {
        TestPlatform p;
        Settings settings;
        settings.PreviewTextStrings = QStringLiteral("ABC");
        SystemInfo info = smoothingSystem(1, 1);
        const QStringList before = fields(settings);
        Form6 w(settings, info, p.platform);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        for (QCheckBox* box : w.Check1) {
            if (box)
                QTest::mouseClick(box, Qt::LeftButton);
        }
        QTest::mouseClick(w.Check2, Qt::LeftButton); // Yes
        QVERIFY(!w.Check2->isChecked());
        w.Text1->setPlainText(QStringLiteral("変更"));
        w.Text2->setText(QStringLiteral("変更"));
        w.VScroll1->setValue(3);
        p.dialogs.colorAnswers.push_back(0x00FFFFFFu);
        QTest::mouseClick(w.Command4, Qt::LeftButton);

        if (byFrame)
            w.close();
        else
            QTest::mouseClick(w.Command2, Qt::LeftButton);
        QCOMPARE(w.result(), int(QDialog::Rejected));
        QCOMPARE(fields(settings), before);
        QVERIFY(p.system.smoothingOn);
        QCOMPARE(info.SmoothingOn, 1);
        QVERIFY(!w.outcome().accepted);
        QVERIFY(!w.outcome().previewChanged);
    }
}

void TestForm6::emptiedCustomTextIsStoredAsMarker()
{
    TestPlatform p;
    p.registry.addKey(platform::RootKey::CurrentUser, SettingsKeyPath);
    Settings settings;
    settings.PreviewText = 1;
    settings.PreviewTextStrings = QStringLiteral("ABC");
    settings.SampleTextStrings = QStringLiteral("見本");
    SystemInfo info;
    Form6 w(settings, info, p.platform);
    w.Text2->clear();
    w.Text1->clear();
    w.Command1_Click();
    QVERIFY(settings.PreviewTextStrings.isEmpty());
    QVERIFY(settings.SampleTextStrings.isEmpty());

    QVERIFY(WriteBackSettings(p.registry, settings).ok());
    const auto stored = [&](const char* name) {
        return p.registry.value(platform::RootKey::CurrentUser, SettingsKeyPath, QLatin1String(name));
    };
    QCOMPARE(stored("PreviewTextStrings"), std::optional<QString>(QStringLiteral("NonDataCode")));
    QCOMPARE(stored("SampleTextStrings"), std::optional<QString>(QStringLiteral("NonDataCode")));
}

void TestForm6::colourChoice()
{
    TestPlatform p;
    Settings settings;
    settings.SampleTextColor = 0x00010203;
    SystemInfo info;
    Form6 w(settings, info, p.platform);

    p.dialogs.colorAnswers.push_back(0x000000FFu);
    w.Command4_Click();
    QCOMPARE(swatchColor(w), QColor(Qt::red));
    // Cancelled: the dialog's last colour stays.
    w.Command4_Click();
    QCOMPARE(swatchColor(w), QColor(Qt::red));
    const QList<std::uint32_t> offered{0x00010203u, 0x000000FFu};
    QCOMPARE(p.dialogs.colorRequests, offered);
    w.Command1_Click();
    QCOMPARE(settings.SampleTextColor, 0x000000FF);

    // A colour left alone is stored as it was, even a hand-edited one.
    settings.SampleTextColor = -1;
    Form6 edited(settings, info, p.platform);
    edited.Command1_Click();
    QCOMPARE(settings.SampleTextColor, -1);
}

void TestForm6::scrollBarPassesTheFocusOn()
{
    TestPlatform p;
    Settings settings;
    SystemInfo info = smoothingSystem(1, 0);
    Form6 w(settings, info, p.platform);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));

    // A click keeps working the bar but leaves the focus on the hidden button.
    const int before = w.VScroll1->value();
    QTest::mouseClick(w.VScroll1, Qt::LeftButton, {}, QPoint(w.VScroll1->width() / 2, w.VScroll1->height() - 3));
    QCOMPARE(QApplication::focusWidget(), w.Command3[0]);
    QVERIFY(w.VScroll1->value() > before);

    w.VScroll1->setFocus(Qt::OtherFocusReason);
    QCOMPARE(QApplication::focusWidget(), w.Command3[0]);

    // Tab from the hidden button goes past the bar instead of back to it.
    QTest::keyClick(&w, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.Check2);
    // Back-tab from the box lands on the hidden button.
    QTest::keyClick(&w, Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), w.Command3[0]);
}

void TestForm6::tabOrder()
{
    TestPlatform p;
    Settings settings;
    settings.SampleText = 1;
    settings.PreviewText = 1;
    SystemInfo info = smoothingSystem(1, 0);
    Form6 w(settings, info, p.platform);
    const QList<QWidget*> expected{w.Check1[9],  w.Check1[10], w.Check1[11], w.Command1, w.Command2,
                                   w.Check1[12], w.Text1,      w.Command3[0], w.VScroll1, w.Check2,
                                   w.Check1[7],  w.Command4,   w.Check1[0],  w.Text2};
    QList<QWidget*> chain;
    QWidget* at = w.Check1[9];
    do {
        if (expected.contains(at))
            chain << at;
        at = at->nextInFocusChain();
    } while (at != w.Check1[9] && chain.size() < expected.size());
    QCOMPARE(chain, expected);
    QCOMPARE(w.Command3[0]->text(), QStringLiteral("＋"));
    QVERIFY(w.Command3[0]->y() >= w.height());
}

void TestForm6::placedBelowTheOwner()
{
    TestPlatform p;
    Settings settings;
    SystemInfo info;
    QWidget owner;
    owner.setGeometry(200, 150, 600, 400);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    Form6 w(settings, info, p.platform, &owner);
    QCOMPARE(w.pos(), owner.frameGeometry().topLeft() + QPoint(80, 60));
}

void TestForm6::opensModally()
{
    TestPlatform p;
    Settings settings;
    SystemInfo info;
    Form6 w(settings, info, p.platform);
    bool wasModal = false;
    QTimer::singleShot(0, &w, [&] {
        wasModal = QApplication::activeModalWidget() == &w;
        w.Check1[11]->setChecked(false);
        w.Command1->click();
    });
    QCOMPARE(w.exec(), int(QDialog::Accepted));
    QVERIFY(wasModal);
    QCOMPARE(settings.StartupOverall, 0);
}

void TestForm6::sampleAntialiasing()
{
    // Smoothing off really draws with plain pixels: no grey between ink and paper.
    const auto greys = [](std::int32_t smoothingOn) {
        QFont font;
        font.setFamilies({platform::designFaceCounterpart(platform::DesignFace::ProportionalGothic)});
        font.setPixelSize(24);
        font.setStyleStrategy(SampleAntialiasing(smoothingOn));
        QImage image(80, 40, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("永あA"));
        painter.end();
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const int level = qGray(image.pixel(x, y));
                count += level > 0 && level < 255 ? 1 : 0;
            }
        }
        return count;
    };
    QVERIFY(greys(1) > 0);
    QCOMPARE(greys(0), 0);
}

void TestForm6::nothingIsClipped()
{
    TestPlatform p;
    // The face the program really draws its labels in.
    p.fonts.proportionalCounterpart = platform::designFaceCounterpart(platform::DesignFace::ProportionalGothic);
    Settings settings;
    settings.SampleTextSize = 1; // the widest size text, "100 pt"
    SystemInfo info = smoothingSystem(1, 1);
    Form6 w(settings, info, p.platform);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QRect client = w.rect();
    QList<QWidget*> texts;
    for (QCheckBox* box : w.Check1) {
        if (box)
            texts << box;
    }
    texts << w.Check2 << w.Label1[0] << w.Label1[1] << w.Label2;
    for (QPushButton* button : {w.Command1, w.Command2, w.Command4})
        QVERIFY(button->width() > button->fontMetrics().horizontalAdvance(button->text()));
    for (QWidget* control : texts) {
        const QByteArray name = control->metaObject()->className() + QByteArray(" ")
                                + control->property("text").toString().toUtf8();
        QVERIFY2(client.contains(control->geometry()), name);
        QVERIFY2(control->width() >= control->sizeHint().width(), name);
        QVERIFY2(control->height() >= control->fontMetrics().height(), name);
    }
    const QList<QWidget*> all = w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* a : all) {
        for (QWidget* b : all) {
            if (a != b && a->isVisible() && b->isVisible())
                QVERIFY2(!a->geometry().intersects(b->geometry()),
                         qPrintable(a->metaObject()->className() + QStringLiteral(" / ")
                                    + b->metaObject()->className()));
        }
    }
}

void TestForm6::screenshot()
{
    // GLYFARO_SHOT_DIR=folder writes the dialog's picture there, for looking at.
    const QString folder = qEnvironmentVariable("GLYFARO_SHOT_DIR");
    if (folder.isEmpty())
        QSKIP("GLYFARO_SHOT_DIR not set");
    TestPlatform p;
    Settings settings;
    settings.SampleText = 1;
    settings.SampleTextStrings = QStringLiteral("任意の文字\r\n二行目");
    settings.SampleTextColor = 0x00C00000;
    settings.PreviewText = 1;
    settings.PreviewTextStrings = QStringLiteral("ABC abc 123 あいう アイウ 漢字");
    SystemInfo info = smoothingSystem(1, 1);
    p.fonts.proportionalCounterpart = platform::designFaceCounterpart(platform::DesignFace::ProportionalGothic);
    Form6 w(settings, info, p.platform);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.grab().save(QDir(folder).filePath(QStringLiteral("form6.png"))));
}

QTEST_MAIN(TestForm6)
#include "tst_form6.moc"
