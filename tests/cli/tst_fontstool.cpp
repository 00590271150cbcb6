#include "formats/ComparisonFile.h"

#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Tool = QStringLiteral(GLYFARO_BINARY_DIR "/bin/glyfaro2-fonts");

struct Run {
    int status = -1;
    QByteArray out;
    QString err;
};

// The tool as an administrator runs it over ssh: no display at all.
Run run(const QStringList& arguments, const QStringList& settings = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& setting : settings)
        environment.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(environment);
    process.start(Tool, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class FontsToolTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_environment = std::make_unique<TestEnvironment>();
        TestEnvironment::useSyntheticFonts();
        QVERIFY(m_files.isValid());
        const Run saved = run({u"save"_qs, path(u"here.gfc"_qs)});
        QCOMPARE(saved.status, 0);
        QVERIFY2(saved.err.isEmpty(), qPrintable(saved.err));
        const QByteArray here = readFile(path(u"here.gfc"_qs));
        const comparison_file::Contents contents = comparison_file::read(here);
        QVERIFY(contents.names.size() > 20);

        // Another machine: one font gone, one in another version, one added.
        comparison_file::Writer other;
        for (qsizetype i = 1; i < contents.names.size(); ++i)
            other.addRecord(contents.names.at(i), i == 1 ? contents.sizes.at(i) + 1 : contents.sizes.at(i));
        other.addRecord(u"ＭＳ　明朝"_qs, 99);
        QVERIFY(writeFile(path(u"other.gfc"_qs), other.finish()));
        QVERIFY(writeFile(path(u"cut.gfc"_qs), here.first(here.size() / 2)));
        QVERIFY(writeFile(path(u"damaged.gfc"_qs), QByteArray("GFC\x07\x00", 5)));
        QVERIFY(writeFile(path(u"notes.txt"_qs), "not a comparison file\n"));
        QVERIFY(QDir(m_files.path()).mkdir(u"folder.gfc"_qs));
        QVERIFY(writeFile(path(u"kept.gfc"_qs), "keep me"));
        QVERIFY(QFile::setPermissions(path(u"kept.gfc"_qs), QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        m_names = contents.names;

        // A detailed inventory of this machine, and another machine's made
        // from it: one face in JIS2004 forms where this one has JIS90, one
        // in another version, one rebuilt with the same version, one gone
        // and one added.
        QCOMPARE(run({u"save"_qs, u"--details"_qs, path(u"here.json"_qs)}).status, 0);
        QJsonObject detailed = QJsonDocument::fromJson(readFile(path(u"here.json"_qs))).object();
        QJsonArray faces = detailed.value(u"faces"_qs).toArray();
        QVERIFY(faces.size() >= 6);
        const auto changed = [&faces](int i, const QString& key, const QJsonValue& value) {
            QJsonObject face = faces.at(i).toObject();
            face.insert(key, value);
            faces.replace(i, face);
        };
        changed(2, u"glyphForms"_qs, u"JIS90"_qs);
        detailed.insert(u"faces"_qs, faces);
        QVERIFY(writeFile(path(u"a.json"_qs), QJsonDocument(detailed).toJson()));
        for (const int i : {1, 2, 3})
            changed(i, u"sha256"_qs, QString(64, QChar(u'0' + i)));
        changed(1, u"version"_qs, u"Version 9.99"_qs);
        changed(2, u"glyphForms"_qs, u"JIS2004"_qs);
        for (int i = 0; i < 6; ++i)
            m_titles << faces.at(i).toObject().value(u"families"_qs).toArray().at(0).toObject().value(u"name"_qs).toString()
                            + u' ' + faces.at(i).toObject().value(u"style"_qs).toString();
        faces.removeAt(4);
        QJsonObject added = faces.at(0).toObject();
        added.insert(u"families"_qs, QJsonArray{QJsonObject{{u"name"_qs, u"ＭＳ　明朝"_qs}, {u"language"_qs, u"ja"_qs}}});
        faces.append(added);
        detailed.insert(u"faces"_qs, faces);
        detailed.insert(u"machine"_qs, u"plate-01"_qs);
        QVERIFY(writeFile(path(u"b.json"_qs), QJsonDocument(detailed).toJson()));
        QVERIFY(writeFile(path(u"cut.json"_qs), readFile(path(u"a.json"_qs)).left(500)));
        QVERIFY(writeFile(path(u"program.json"_qs), R"({"name": "another program", "faces": []})"));
        QVERIFY(writeFile(path(u"empty.json"_qs), QByteArray()));
        QVERIFY(writeFile(path(u"newer.json"_qs), R"({"format": "glyfaro2-inventory", "version": "2.0", "faces": []})"));
    }

    void exitStatuses_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");

        const auto at = [this](const QString& name) { return path(name); };
        QTest::newRow("help") << QStringList{u"--help"_qs} << 0 << QString();
        QTest::newRow("a file against this machine") << QStringList{u"compare"_qs, at(u"here.gfc"_qs)} << 0 << QString();
        QTest::newRow("a file against itself")
            << QStringList{u"compare"_qs, at(u"other.gfc"_qs), at(u"other.gfc"_qs)} << 0 << QString();
        QTest::newRow("another machine") << QStringList{u"compare"_qs, at(u"other.gfc"_qs)} << 1 << QString();
        QTest::newRow("two files, json")
            << QStringList{u"compare"_qs, u"--json"_qs, at(u"here.gfc"_qs), at(u"other.gfc"_qs)} << 1 << QString();
        QTest::newRow("no command") << QStringList() << 2 << u"コマンドがありません"_qs;
        QTest::newRow("unknown command") << QStringList{u"frobnicate"_qs} << 2 << u"知らないコマンドです: frobnicate"_qs;
        QTest::newRow("unknown option") << QStringList{u"list"_qs, u"--fast"_qs} << 2 << u"知らないオプションです: --fast"_qs;
        QTest::newRow("json where nothing is compared") << QStringList{u"list"_qs, u"--json"_qs} << 2 << u"--json"_qs;
        QTest::newRow("save without a file") << QStringList{u"save"_qs} << 2 << u"「save」の引数が違います"_qs;
        QTest::newRow("three files") << QStringList{u"compare"_qs, at(u"here.gfc"_qs), at(u"here.gfc"_qs), at(u"here.gfc"_qs)}
                                     << 2 << u"「compare」の引数が違います"_qs;
        QTest::newRow("missing file") << QStringList{u"compare"_qs, at(u"gone.gfc"_qs)} << 2
                                      << u"ファイルまたはフォルダが見つかりません"_qs;
        QTest::newRow("a folder") << QStringList{u"compare"_qs, at(u"folder.gfc"_qs)} << 2 << u"フォルダです"_qs;
        QTest::newRow("cut file") << QStringList{u"compare"_qs, at(u"cut.gfc"_qs)} << 2 << u"途中で切れています"_qs;
        QTest::newRow("damaged file") << QStringList{u"compare"_qs, at(u"here.gfc"_qs), at(u"damaged.gfc"_qs)} << 2
                                      << u"壊れています"_qs;
        QTest::newRow("not a comparison file") << QStringList{u"compare"_qs, at(u"notes.txt"_qs)} << 2
                                               << u"フォント比較用ファイルではありません"_qs;
        QTest::newRow("save over a read-only file") << QStringList{u"save"_qs, at(u"kept.gfc"_qs)} << 2
                                                    << u"アクセスする権限がありません"_qs;
        QTest::newRow("save as a folder") << QStringList{u"save"_qs, at(u"folder.gfc"_qs)} << 2 << u"フォルダです"_qs;
        QTest::newRow("a detailed inventory to standard output") << QStringList{u"save"_qs, u"--details"_qs, u"-"_qs} << 0
                                                                 << QString();
        QTest::newRow("detailed, against itself") << QStringList{u"compare"_qs, at(u"a.json"_qs), at(u"a.json"_qs)} << 0
                                                  << QString();
        QTest::newRow("detailed, two machines") << QStringList{u"compare"_qs, at(u"a.json"_qs), at(u"b.json"_qs)} << 1
                                                << QString();
        QTest::newRow("detailed, against this machine") << QStringList{u"compare"_qs, at(u"here.json"_qs)} << 0 << QString();
        QTest::newRow("a comparison file against a detailed inventory")
            << QStringList{u"compare"_qs, at(u"here.gfc"_qs), at(u"a.json"_qs)} << 0 << QString();
        QTest::newRow("report, machines differ")
            << QStringList{u"report"_qs, u"--html"_qs, at(u"report.html"_qs), u"--csv"_qs, at(u"report.csv"_qs),
                           at(u"a.json"_qs), at(u"b.json"_qs)}
            << 1 << QString();
        QTest::newRow("report, machines agree") << QStringList{u"report"_qs, at(u"a.json"_qs), at(u"here.json"_qs)} << 0
                                                << QString();
        QTest::newRow("report, nothing to compare") << QStringList{u"report"_qs} << 2 << u"比べる詳しいフォント構成ファイルがありません"_qs;
        QTest::newRow("report, a cut inventory") << QStringList{u"report"_qs, at(u"a.json"_qs), at(u"cut.json"_qs)} << 2
                                                 << u"途中で切れています"_qs;
        QTest::newRow("report, another program's JSON") << QStringList{u"report"_qs, at(u"program.json"_qs)} << 2
                                                        << u"詳しいフォント構成ファイルではありません"_qs;
        QTest::newRow("report, a newer format") << QStringList{u"report"_qs, at(u"newer.json"_qs)} << 2
                                                << u"新しい形式（版 2.0）"_qs;
        QTest::newRow("report, a missing file") << QStringList{u"report"_qs, at(u"gone.json"_qs)} << 2
                                                << u"見つかりません"_qs;
        QTest::newRow("report, a comparison file") << QStringList{u"report"_qs, at(u"here.gfc"_qs)} << 2
                                                   << u"フォント比較用ファイル（.gfc）です"_qs;
        QTest::newRow("report, a folder") << QStringList{u"report"_qs, at(u"folder.gfc"_qs)} << 2 << u"フォルダです"_qs;
        QTest::newRow("compare, an empty file") << QStringList{u"compare"_qs, at(u"empty.json"_qs)} << 2
                                                << u"フォント比較用ファイルではありません"_qs;
        QTest::newRow("details where nothing is saved") << QStringList{u"list"_qs, u"--details"_qs} << 2
                                                        << u"--details は save にだけ"_qs;
        QTest::newRow("export into a missing folder") << QStringList{u"export"_qs, at(u"none/list.csv"_qs)} << 2
                                                      << u"保存できませんでした"_qs;
    }

    void exitStatuses()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const Run result = run(arguments);
        QTEST(result.status, "status");
        if (message.isEmpty()) {
            QVERIFY2(result.err.isEmpty(), qPrintable(result.err));
            QVERIFY(!result.out.isEmpty());
        } else {
            QVERIFY2(result.err.startsWith(u"glyfaro2-fonts: "_qs) && result.err.contains(message), qPrintable(result.err));
            QVERIFY(result.out.isEmpty());
        }
        // A refused save leaves the file it would have replaced.
        QCOMPARE(readFile(path(u"kept.gfc"_qs)), QByteArray("keep me"));
    }

    void compareReports()
    {
        const Run json = run({u"compare"_qs, u"--json"_qs, path(u"other.gfc"_qs)});
        QCOMPARE(json.status, 1);
        const QJsonObject report = QJsonDocument::fromJson(json.out).object();
        QCOMPARE(report.value(u"identical"_qs).toBool(true), false);
        QCOMPARE(report.value(u"right"_qs).toObject().value(u"count"_qs).toInt(), m_names.size());
        const QJsonArray onlyRight = report.value(u"onlyRight"_qs).toArray();
        QCOMPARE(onlyRight.size(), 1);
        QCOMPARE(onlyRight.at(0).toObject().value(u"name"_qs).toString(), m_names.at(0));
        const QJsonArray onlyLeft = report.value(u"onlyLeft"_qs).toArray();
        QCOMPARE(onlyLeft.size(), 1);
        QCOMPARE(onlyLeft.at(0).toObject().value(u"name"_qs).toString(), u"ＭＳ　明朝"_qs);
        const QJsonObject differs = report.value(u"sizeDiffers"_qs).toArray().at(0).toObject();
        QCOMPARE(differs.value(u"name"_qs).toString(), m_names.at(1));
        QCOMPARE(differs.value(u"leftSizes"_qs).toArray().at(0).toInteger(),
                 differs.value(u"rightSizes"_qs).toArray().at(0).toInteger() + 1);
        QCOMPARE(report.value(u"same"_qs).toArray().size(), m_names.size() - 2);

        const Run lines = run({u"compare"_qs, path(u"other.gfc"_qs)});
        const QString text = QString::fromUtf8(lines.out);
        QVERIFY2(text.contains(u"右だけにあるフォント  総数: 1 個\n  "_qs + m_names.at(0) + u'\n'), qPrintable(text));
        QVERIFY(text.contains(u"同じ名前でファイルサイズが違うフォント  総数: 1 個"_qs));

        const Run list = run({u"list"_qs});
        QCOMPARE(list.status, 0);
        QCOMPARE(QString::fromUtf8(list.out), m_names.join(u'\n') + u'\n');
    }

    // The viewer runs in a Japanese session, the tool over ssh in whatever
    // locale the login gives: one machine's files must not differ by it.
    // The set holds a family beside a companion that carries its name too,
    // and names whose order the C locale would sort otherwise.
    void sameFilesInEveryLocale()
    {
        QTemporaryDir folder;
        const QString config = folder.filePath(u"fonts.conf"_qs);
        QVERIFY(writeFile(config, QStringLiteral("<?xml version=\"1.0\"?>\n<fontconfig><dir>%1</dir><dir>%2</dir>"
                                                 "<cachedir>%3</cachedir></fontconfig>\n")
                                      .arg(TestEnvironment::syntheticFontsDir(), QStringLiteral(GLYFARO_SMALL_FONTS),
                                           folder.filePath(u"cache"_qs))
                                      .toUtf8()));
        QByteArray first[2];
        for (const char* locale : {"C", "C.UTF-8", "ja_JP.UTF-8"}) {
            const QString name = QString::fromLatin1(locale);
            const QStringList settings{u"FONTCONFIG_FILE="_qs + config, u"LANG="_qs + name, u"LC_ALL="_qs + name};
            QCOMPARE(run({u"save"_qs, folder.filePath(name + u".gfc"_qs)}, settings).status, 0);
            QCOMPARE(run({u"export"_qs, folder.filePath(name + u".csv"_qs)}, settings).status, 0);
            const QByteArray made[2] = {readFile(folder.filePath(name + u".gfc"_qs)), readFile(folder.filePath(name + u".csv"_qs))};
            // The family's own regular face stands for it, not the companion.
            QVERIFY2(made[1].contains("/pair-sans.ttf") && !made[1].contains("pair-sans-condensed.ttf"), locale);
            for (int i = 0; i < 2; ++i)
                QVERIFY2(first[i].isNull() ? !(first[i] = made[i]).isEmpty() : made[i] == first[i], locale);
        }
    }

    // A font file from outside through every step, each answer with its
    // exit status: 0 done or installed, 1 nothing to do or not installed,
    // 2 trouble with a message.
    void fontFileCommands()
    {
        const QStringList settings{u"FONTCONFIG_FILE="_qs + m_environment->writeUserFontsConfig()};
        const QString file = QStringLiteral(GLYFARO_SMALL_FONTS "/pair-sans.ttf");
        const QString copy = m_environment->dataHome() + u"/fonts/pair-sans.ttf"_qs;
        const QString system = TestEnvironment::syntheticFontsDir() + u"/fonts/synth0000.ttf"_qs;
        struct Step {
            QStringList arguments;
            int status;
            QString says; // on standard output, or on standard error for status 2
        };
        const Step steps[] = {
            {{u"status"_qs, file}, 1, u"インストールされていません"_qs},
            {{u"install"_qs, file}, 0, u"インストールしました: "_qs + file + u" → "_qs + copy},
            {{u"status"_qs, file}, 0, u"インストール済み（同じファイル）\n  "_qs + copy},
            {{u"install"_qs, file}, 1, u"インストール済みです（同じファイル）"_qs},
            {{u"status"_qs, QStringLiteral(GLYFARO_SMALL_FONTS "/pair-sans-condensed.ttf")}, 1,
             u"同じ名前の別のファイルがインストールされています"_qs},
            {{u"disable"_qs, u"Pair Sans"_qs}, 0, u"無効にしました: "_qs + copy},
            {{u"disable"_qs, u"Pair Sans"_qs}, 1, u"既に無効です"_qs},
            {{u"list"_qs}, 0, u"Aynth Sans 0000"_qs},
            {{u"enable"_qs, copy}, 0, u"有効にしました: "_qs + copy},
            {{u"enable"_qs, u"Pair Sans"_qs}, 1, u"無効にされていません"_qs},
            {{u"disable"_qs, system}, 0, u"無効にしました: "_qs + system},
            {{u"enable"_qs, u"Aynth Sans 0000"_qs}, 0, u"有効にしました"_qs},
            {{u"remove"_qs, u"Aynth Sans 0000"_qs}, 2, u"管理者の権限が必要です"_qs},
            {{u"remove"_qs, u"Pair Sans"_qs}, 0, u"ごみ箱に移しました: "_qs + copy},
            {{u"status"_qs, file}, 1, u"インストールされていません"_qs},
            {{u"remove"_qs, u"Pair Sans"_qs}, 2, u"という名前のフォントもファイルもありません"_qs},
            {{u"install"_qs, QStringLiteral(GLYFARO_SMALL_FONTS "/garbage.ttf")}, 2, u"フォントとして読めません"_qs},
            {{u"disable"_qs, u"No Such Font"_qs}, 2, u"という名前のフォントはありません"_qs},
            {{u"status"_qs}, 2, u"「status」の引数が違います"_qs},
        };
        for (const Step& step : steps) {
            const Run result = run(step.arguments, settings);
            const QString said = step.status == 2 ? result.err : QString::fromUtf8(result.out);
            QVERIFY2(result.status == step.status && said.contains(step.says),
                     qPrintable(step.arguments.join(u' ') + u" → "_qs + QString::number(result.status) + u'\n' + said + result.err));
            // Between the switches, the list shows what every program shows.
            if (step.arguments.first() == u"list"_qs)
                QVERIFY(!said.contains(u"Pair Sans"_qs));
        }
        QVERIFY(QFile::exists(m_environment->dataHome() + u"/Trash/files/pair-sans.ttf"_qs));
    }

    void infoReports_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says"); // on standard output, or standard error for 2
        const QString small = QStringLiteral(GLYFARO_SMALL_FONTS "/");
        QTest::newRow("a JIS2004 file") << QStringList{u"info"_qs, small + u"forms-jp90.ttf"_qs} << 0
                                        << u"  字形: JIS2004 字形（jp90 で JIS90 字形）\n  異体字シーケンス: なし\n"_qs;
        QTest::newRow("an installed family by name") << QStringList{u"info"_qs, u"Aynth Sans 0000"_qs} << 0
                                                     << u"/fonts/synth0000.ttf\n  名前: Aynth Sans 0000"_qs;
        QTest::newRow("no such font") << QStringList{u"info"_qs, u"No Such Font"_qs} << 2
                                      << u"という名前のフォントもファイルもありません"_qs;
        QTest::newRow("no font in the file") << QStringList{u"info"_qs, small + u"garbage.ttf"_qs} << 2
                                             << u"フォントとして読めません"_qs;
        QTest::newRow("two names") << QStringList{u"info"_qs, u"A"_qs, u"B"_qs} << 2 << u"「info」の引数が違います"_qs;
    }

    void infoReports()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, says);
        const Run result = run(arguments);
        QCOMPARE(result.status, status);
        const QString said = status == 2 ? result.err : QString::fromUtf8(result.out);
        QVERIFY2(said.contains(says), qPrintable(said));
    }

    void infoAsJson()
    {
        const Run result = run({u"info"_qs, u"--json"_qs, QStringLiteral(GLYFARO_SMALL_FONTS "/forms-jp04.ttf")});
        QCOMPARE(result.status, 0);
        const QJsonArray faces = QJsonDocument::fromJson(result.out).array();
        QCOMPARE(faces.size(), 1);
        const QJsonObject face = faces.first().toObject();
        QCOMPARE(face.value(u"names"_qs).toArray().first().toObject().value(u"name"_qs).toString(), u"Forms Four"_qs);
        const QJsonObject forms = face.value(u"glyphForms"_qs).toObject();
        QCOMPARE(forms.value(u"text"_qs).toString(), u"JIS90 字形（jp04 で JIS2004 字形）"_qs);
        QVERIFY(forms.value(u"jp04"_qs).toBool() && !forms.value(u"jp90"_qs).toBool());
        QCOMPARE(face.value(u"variationSequences"_qs).toInt(-1), 0);
        const QJsonArray coverage = face.value(u"coverage"_qs).toArray();
        QCOMPARE(coverage.size(), 10);
        QCOMPARE(coverage.at(9).toObject().value(u"set"_qs).toString(), u"JIS X 0213 非漢字"_qs);
        QCOMPARE(coverage.at(3).toObject().value(u"present"_qs).toInt(), 4); // 亜唖辻葛
    }

    // Over ssh there is no display server: the tool must not even load the
    // libraries that would look for one.
    void needsNoDisplayLibrary()
    {
        QProcess readelf;
        readelf.start(u"readelf"_qs, {u"-d"_qs, Tool});
        QVERIFY(readelf.waitForFinished());
        const QByteArray needed = readelf.readAllStandardOutput();
        QVERIFY(needed.contains("libQt6Core"));
        for (const char* library : {"libQt6Gui", "libQt6Widgets", "libX11", "libxcb", "libGL"})
            QVERIFY2(!needed.contains(library), library);
    }

    // Two machines by identity: each group holds the face made so, the one
    // a print shop fears first.
    void identityReports()
    {
        const Run json = run({u"compare"_qs, u"--json"_qs, path(u"a.json"_qs), path(u"b.json"_qs)});
        QCOMPARE(json.status, 1);
        const QJsonObject report = QJsonDocument::fromJson(json.out).object();
        const auto names = [&report](const char* group) {
            QStringList found;
            for (const QJsonValue& entry : report.value(QLatin1String(group)).toArray())
                found << entry.toObject().value(u"name"_qs).toString();
            return found;
        };
        QCOMPARE(names("formsDiffer"), QStringList{m_titles.at(2)});
        QCOMPARE(names("otherVersion"), QStringList{m_titles.at(1)});
        QCOMPARE(names("sameVersionOtherBytes"), QStringList{m_titles.at(3)});
        QCOMPARE(names("onlyLeft"), QStringList{m_titles.at(4)});
        QCOMPARE(names("onlyRight"), QStringList{u"ＭＳ　明朝 "_qs + m_titles.at(0).section(u' ', -1)});
        QVERIFY(!names("same").contains(m_titles.at(2)));
        const Run lines = run({u"compare"_qs, path(u"a.json"_qs), path(u"b.json"_qs)});
        const QString text = QString::fromUtf8(lines.out);
        QVERIFY2(text.indexOf(u"字形が違う  総数: 1 書体"_qs) < text.indexOf(u"別の版  総数: 1 書体"_qs), qPrintable(text));
        QVERIFY(text.contains(u"  "_qs + m_titles.at(1) + u"  左 "_qs));

        // With a comparison file on one side, names and sizes alone.
        const Run fallback = run({u"compare"_qs, path(u"here.gfc"_qs), path(u"b.json"_qs)});
        QVERIFY(QString::fromUtf8(fallback.out).contains(u"名前とファイルサイズだけで比べました"_qs));

        // The hash is the file's, as sha256sum gives it.
        const QJsonObject face = QJsonDocument::fromJson(readFile(path(u"here.json"_qs))).object().value(u"faces"_qs).toArray().at(0).toObject();
        QProcess sha;
        sha.start(u"sha256sum"_qs, {face.value(u"file"_qs).toString()});
        QVERIFY(sha.waitForFinished());
        QCOMPARE(sha.readAllStandardOutput().left(64), face.value(u"sha256"_qs).toString().toLatin1());

        // The report's files: a page with the table, a CSV with a row a font.
        QVERIFY(readFile(path(u"report.html"_qs)).contains("<table"));
        QVERIFY(readFile(path(u"report.csv"_qs)).contains(m_titles.at(2).toUtf8()));

        // The report lists the fonts that differ, or every font with --all;
        // its CSV is UTF-8 with its byte-order mark, every name kept.
        const Run differing = run({u"report"_qs, u"--csv"_qs, path(u"differ.csv"_qs), path(u"a.json"_qs), path(u"b.json"_qs)});
        const Run all = run({u"report"_qs, u"--all"_qs, u"--csv"_qs, path(u"all.csv"_qs), path(u"a.json"_qs), path(u"b.json"_qs)});
        QCOMPARE(differing.status, 1);
        QCOMPARE(all.status, 1);
        const QByteArray differCsv = readFile(path(u"differ.csv"_qs));
        const QByteArray allCsv = readFile(path(u"all.csv"_qs));
        QVERIFY(differCsv.startsWith("\xEF\xBB\xBF"));
        QVERIFY(differCsv.contains(u"ＭＳ　明朝"_qs.toUtf8()));
        // A heading row, then the five fonts that differ; --all adds the rest.
        QCOMPARE(differCsv.count("\r\n"), 6);
        QSet<QString> titles{u"ＭＳ　明朝 "_qs + m_titles.at(0).section(u' ', -1)};
        for (const QJsonValue& face : QJsonDocument::fromJson(readFile(path(u"a.json"_qs))).object().value(u"faces"_qs).toArray())
            titles << face.toObject().value(u"families"_qs).toArray().at(0).toObject().value(u"name"_qs).toString() + u' '
                          + face.toObject().value(u"style"_qs).toString();
        QCOMPARE(allCsv.count("\r\n"), 1 + titles.size());
        QVERIFY(QString::fromUtf8(differing.out).contains(u"2 台中 1 台で字形が違うフォント: 1 書体"_qs));
        const Run agree = run({u"report"_qs, u"--html"_qs, path(u"agree.html"_qs), path(u"a.json"_qs), path(u"a.json"_qs)});
        QCOMPARE(agree.status, 0);
        QVERIFY(QString::fromUtf8(readFile(path(u"agree.html"_qs))).contains(u"すべてのコンピュータで同じです"_qs));

        // export - writes the list's own bytes to standard output too.
        QCOMPARE(run({u"export"_qs, path(u"list.csv"_qs)}).status, 0);
        QCOMPARE(run({u"export"_qs, u"-"_qs}).out, readFile(path(u"list.csv"_qs)));

        // A damaged cache is said, ignored and made anew; the next run
        // finds it whole.
        const QString cache = m_environment->root() + u"/cache/glyfaro2/file-facts"_qs;
        QVERIFY(QFile::exists(cache));
        QVERIFY(writeFile(cache, QByteArray(64, 'x')));
        const Run repaired = run({u"save"_qs, u"--details"_qs, path(u"repaired.json"_qs)});
        QCOMPARE(repaired.status, 0);
        QVERIFY2(repaired.err.contains(u"壊れていたので、作り直しました"_qs), qPrintable(repaired.err));
        const Run after = run({u"save"_qs, u"--details"_qs, path(u"after.json"_qs)});
        QVERIFY2(after.err.isEmpty(), qPrintable(after.err));
        const auto faces = [this](const QString& name) {
            return QJsonDocument::fromJson(readFile(path(name))).object().value(u"faces"_qs).toArray();
        };
        QCOMPARE(faces(u"repaired.json"_qs), faces(u"here.json"_qs));
        QCOMPARE(faces(u"after.json"_qs), faces(u"here.json"_qs));

        // save - writes the comparison file's own bytes.
        const Run saved = run({u"save"_qs, u"-"_qs});
        QCOMPARE(saved.out, readFile(path(u"here.gfc"_qs)));
        QVERIFY(!QFile::exists(u"-"_qs));
    }

private:
    QString path(const QString& name) const { return m_files.filePath(name); }

    std::unique_ptr<TestEnvironment> m_environment;
    QTemporaryDir m_files;
    QStringList m_names;
    QStringList m_titles; // of the first faces in the detailed inventory
};

QTEST_GUILESS_MAIN(FontsToolTest)
#include "tst_fontstool.moc"
