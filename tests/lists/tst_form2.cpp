#include "catalog/FontCatalogBuilder.h"
#include "lists/Form2.h"

#include "support/TestPlatform.h"

#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QSignalSpy>
#include "desktop/UiFont.h"

#include <QTest>

using namespace platform;

namespace {

const QString WindowsKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");

FontCatalog buildCatalog(const QStringList& fonts)
{
    TestPlatform test;
    test.registry.addKey(RootKey::LocalMachine, WindowsKey + u"\\Fonts"_qs);
    test.fonts.names = fonts;
    FontCatalog catalog;
    BuildFontCatalog(catalog, test.platform, WindowsKey, {});
    return catalog;
}

} // namespace

namespace {

// For each pixel row of a widget, whether anything is drawn darker than its background.
QList<bool> inkedRows(QWidget* widget)
{
    const QImage image = widget->grab().toImage();
    const QRgb background = image.pixel(0, 0);
    QList<bool> inked;
    for (int y = 0; y < image.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < image.width(); ++x)
            ink = ink || qGray(image.pixel(x, y)) + 60 < qGray(background);
        inked << ink;
    }
    return inked;
}

} // namespace

class TestForm2 : public QObject {
    Q_OBJECT

private slots:
    // The viewer's own Japanese face, whose line spacing the layout must allow for.
    void initTestCase() { platform::useJapaneseUiFont(); }
    void listsHoldTheGroups();
    void titles();
    void doubleClickAsksForTheExactName();
    void titlesFitTheirPlaces();
};

void TestForm2::listsHoldTheGroups()
{
    const FontCatalog catalog =
        buildCatalog({u"Ｍincho"_qs, u"Meiryo"_qs, u"arial"_qs, u"@Vertical"_qs, u"Arial"_qs});
    Form2 form(catalog);
    QCOMPARE(form.windowTitle(), u"フォントをインデックス別で一覧"_qs);

    auto texts = [&](int index) {
        QStringList names;
        for (int i = 0; i < form.List1[std::size_t(index)]->count(); ++i)
            names << form.List1[std::size_t(index)]->item(i)->text();
        return names;
    };
    QCOMPARE(texts(0), QStringList{u"@Vertical"_qs});
    QCOMPARE(texts(1), QStringList{u"Arial"_qs});
    QCOMPARE(texts(13), (QStringList{u"Meiryo"_qs, u"Ｍincho"_qs}));
    QCOMPARE(texts(27), QStringList{u"arial"_qs});
    // A group without fonts still has its list and title.
    QCOMPARE(texts(17).size(), 0);
    QVERIFY(!form.Label1[17]->text().isEmpty());

    // Three columns; the Other list sits in the third one's eighth row.
    QCOMPARE(form.List1[9]->x(), form.List1[0]->x());
    QVERIFY(form.List1[10]->x() > form.List1[9]->x());
    QCOMPARE(form.List1[27]->x(), form.List1[20]->x());
    QCOMPARE(form.List1[27]->y(), form.List1[7]->y());
}

void TestForm2::titles()
{
    Form2 form(buildCatalog({}));
    QCOMPARE(form.Label1[0]->text(), u"$\n%\n&\n@"_qs);
    // All four symbols are seen, one under the other.
    const QList<bool> inked = inkedRows(form.Label1[0]);
    int bands = 0;
    for (qsizetype y = 1; y < inked.size(); ++y)
        bands += inked.at(y) && !inked.at(y - 1);
    QCOMPARE(bands, 4);
    QCOMPARE(form.Label1[1]->text(), u"A"_qs);
    QCOMPARE(form.Label1[26]->text(), u"Z"_qs);
    QString other;
    for (std::size_t i = 27; i < 32; ++i)
        other += form.Label1[i]->text();
    QCOMPARE(other, u"Other"_qs);
    // Each letter title sits beside its own list.
    QCOMPARE(form.Label1[15]->y(), form.List1[15]->y());
}

void TestForm2::doubleClickAsksForTheExactName()
{
    Form2 form(buildCatalog({u"Ｍincho"_qs, u"Meiryo"_qs}));
    QSignalSpy opened(&form, &Form2::openViewOnName);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* list = form.List1[13];
    const QRect cell = list->visualItemRect(list->item(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened.at(0).at(0).toString(), u"Ｍincho"_qs);
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestForm2::titlesFitTheirPlaces()
{
    Form2 form(buildCatalog({}));
    for (QLabel* label : form.Label1) {
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text().section(u'\n', 0, 0)) <= label->width(),
                 qPrintable(label->text()));
        // Nothing cut at the top or bottom: no ink reaches either edge.
        const QList<bool> inked = inkedRows(label);
        QVERIFY2(inked.contains(true) && !inked.first() && !inked.last(), qPrintable(label->text()));
    }
    // Set to look at the window.
    const QByteArray pictures = qgetenv("GLYFARO_PICTURES");
    if (!pictures.isEmpty()) {
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.grab().save(QString::fromLocal8Bit(pictures) + u"/form2.png"_qs));
    }
}

QTEST_MAIN(TestForm2)
#include "tst_form2.moc"
