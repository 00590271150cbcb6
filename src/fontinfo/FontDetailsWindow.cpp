#include "fontinfo/FontDetailsWindow.h"

#include "fontinfo/VerticalSample.h"
#include "catalog/SizeText.h"
#include "desktop/ProgramIcon.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr qreal VerticalPixels = 36;

QString yesNo(bool value)
{
    return value ? QStringLiteral("あり") : QStringLiteral("なし");
}

// The face a program asking for the family gets: the chosen file's regular style.
int firstFace(const QList<platform::FaceFile>& faces)
{
    for (qsizetype i = 0; i < faces.size(); ++i) {
        const QString style = faces.at(i).style;
        if (faces.at(i).chosen && (style == u"Regular" || style == u"Book" || style == u"Normal" || style == u"標準"))
            return int(i);
    }
    for (qsizetype i = 0; i < faces.size(); ++i) {
        if (faces.at(i).chosen)
            return int(i);
    }
    return 0;
}

} // namespace

FontDetailsWindow::FontDetailsWindow(const QString& fontName, platform::FontList& fonts, const QString& sampleText,
                                     QWidget* parent)
    : FontDetailsWindow(fontName, fonts.familyNames(fontName), fonts.faceFiles(fontName), -1, sampleText, parent)
{
}

FontDetailsWindow::FontDetailsWindow(const QString& title, QList<platform::FamilyName> names,
                                     QList<platform::FaceFile> faces, int face, const QString& sampleText,
                                     QWidget* parent)
    : QWidget(parent), m_fontName(title), m_sampleText(sampleText), m_names(std::move(names)), m_faces(std::move(faces))
{
    setWindowTitle(QStringLiteral("フォント情報 / ") + title);
    setWindowIcon(platform::programIcon());
    createControls();
    for (const platform::FaceFile& face : m_faces) {
        QString entry = face.style + QStringLiteral(" — ") + face.path;
        if (face.index > 0)
            entry += QStringLiteral(" #%1").arg(face.index);
        if (!face.chosen)
            entry += QStringLiteral("（使われないファイル）");
        FaceList->addItem(entry);
    }
    const int first = m_faces.isEmpty() ? -1 : face >= 0 && face < m_faces.size() ? face : firstFace(m_faces);
    FaceList->setCurrentIndex(first);
    showFace(first);
    connect(FaceList, &QComboBox::currentIndexChanged, this, &FontDetailsWindow::showFace);
}

QSize FontDetailsWindow::sizeHint() const
{
    return {820, 720};
}

void FontDetailsWindow::createControls()
{
    FaceList = new QComboBox(this);
    Warning = new QLabel(this);
    Warning->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    Warning->setWordWrap(true);
    Warning->hide();
    Details = new QPlainTextEdit(this);
    Details->setReadOnly(true);
    Details->setLineWrapMode(QPlainTextEdit::NoWrap);

    Coverage = new QTableWidget(0, 3, this);
    Coverage->setHorizontalHeaderLabels(
        {QStringLiteral("文字集合"), QStringLiteral("収録"), QStringLiteral("足りない文字")});
    Coverage->verticalHeader()->hide();
    Coverage->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Coverage->setSelectionBehavior(QAbstractItemView::SelectRows);
    Coverage->setSelectionMode(QAbstractItemView::SingleSelection);
    Coverage->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    Coverage->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    Coverage->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    Missing = new QPlainTextEdit(this);
    Missing->setReadOnly(true);
    Missing->setPlaceholderText(QStringLiteral("表で選んだ文字集合のうち、このフォントにない文字"));
    connect(Coverage, &QTableWidget::itemSelectionChanged, this, &FontDetailsWindow::showMissing);

    CharacterMapButton = new QPushButton(QStringLiteral("文字一覧..."), this);
    SwitchedButton = new QPushButton(QStringLiteral("字形の切り替え..."), this);
    SwitchedButton->setToolTip(QStringLiteral("jp90/jp04 で字形が変わる文字を、両方の字形で並べます"));
    connect(SwitchedButton, &QPushButton::clicked, this, [this] {
        if (!m_details.path.isEmpty())
            emit switchedGlyphsRequested(m_fontName, m_details.path, m_details.index);
    });
    PrintButton = new QPushButton(QStringLiteral("印刷..."), this);
    SaveButton = new QPushButton(QStringLiteral("CSV で保存..."), this);
    CopyButton = new QPushButton(QStringLiteral("すべてコピー"), this);
    connect(CharacterMapButton, &QPushButton::clicked, this, [this] {
        if (!m_details.path.isEmpty())
            emit characterMapRequested(m_fontName, m_details.path, m_details.index);
    });
    connect(PrintButton, &QPushButton::clicked, this,
            [this] { emit printRequested(CoverageReportLines(m_fontName, m_details, m_coverage)); });
    connect(SaveButton, &QPushButton::clicked, this, [this] { emit saveRequested(m_fontName, m_details, m_coverage); });
    connect(CopyButton, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(reportText()); });

    auto buttons = new QHBoxLayout;
    for (QPushButton* button : {CharacterMapButton, SwitchedButton, PrintButton, SaveButton, CopyButton})
        buttons->addWidget(button);
    buttons->addStretch(1);

    auto left = new QVBoxLayout;
    left->addWidget(FaceList);
    left->addWidget(Warning);
    left->addWidget(Details, 3);
    left->addWidget(new QLabel(QStringLiteral("日本語の収録状況:"), this));
    left->addWidget(Coverage, 3);
    left->addWidget(Missing, 1);
    left->addLayout(buttons);

    Vertical = new VerticalSample(this);
    auto verticalColumn = new QVBoxLayout;
    verticalColumn->addWidget(new QLabel(QStringLiteral("縦書き:"), this));
    verticalColumn->addWidget(Vertical, 1);
    auto columns = new QHBoxLayout(this);
    columns->addLayout(left, 1);
    columns->addLayout(verticalColumn);
}

QString FontDetailsWindow::namesText() const
{
    QStringList names;
    for (const platform::FamilyName& name : m_names)
        names << (name.language.isEmpty() ? name.name : name.name + QStringLiteral(" (") + name.language + u')');
    return names.join(QStringLiteral("、"));
}

void FontDetailsWindow::showFace(int face)
{
    const bool known = face >= 0 && face < m_faces.size();
    m_details = known ? ReadFaceDetails(m_faces.at(face).path, m_faces.at(face).index) : FaceDetails{};
    if (!known)
        m_details.error = QStringLiteral("このフォントのファイルが見つかりません");
    QString charactersError;
    const std::vector<char32_t> characters =
        m_details.error.isEmpty() ? CharactersOfFace(m_details.path, m_details.index, &charactersError)
                                  : std::vector<char32_t>{};
    m_coverage = characters.empty() ? QList<SetCoverage>{} : CoverageOf(characters);

    QStringList lines;
    lines << QStringLiteral("フォント名: ") + m_fontName;
    lines << QStringLiteral("ファミリー名: ") + namesText();
    lines << QStringLiteral("スタイルとファイル:");
    for (const platform::FaceFile& file : m_faces) {
        lines << QStringLiteral("　") + file.style + QStringLiteral(": ") + file.path
                     + (file.index > 0 ? QStringLiteral(" (%1 番目)").arg(file.index) : QString())
                     + (file.chosen ? QString() : QStringLiteral("（同じスタイルの別ファイルが使われます）"));
    }
    lines << QString();
    if (!m_details.error.isEmpty()) {
        lines << QStringLiteral("読み込めません: ") + m_details.error;
    } else {
        lines << QStringLiteral("ファイル: ") + m_details.path;
        lines << QStringLiteral("コレクション内の番号: ") + QString::number(m_details.index);
        lines << QStringLiteral("スタイル: ") + m_details.style;
        lines << QStringLiteral("形式: ") + m_details.format + (m_details.variable ? QStringLiteral("（可変フォント）") : QString());
        lines << QStringLiteral("バージョン: ") + m_details.version;
        lines << QStringLiteral("PostScript 名: ") + m_details.postScriptName;
        lines << QStringLiteral("ベンダー: ") + m_details.vendor;
        if (!m_details.designer.isEmpty())
            lines << QStringLiteral("デザイナー: ") + m_details.designer;
        if (!m_details.copyright.isEmpty())
            lines << QStringLiteral("著作権: ") + m_details.copyright;
        lines << QStringLiteral("グリフ数: ") + NumberText(m_details.glyphCount);
        lines << QStringLiteral("埋め込み: ") + EmbeddingText(m_details.embedding)
                     + (m_details.noSubsetting ? QStringLiteral("、サブセット化不可") : QString())
                     + (m_details.bitmapOnly ? QStringLiteral("、ビットマップのみ") : QString());
        lines << QStringLiteral("縦書き用の字形 (vert/vrt2): ") + yesNo(m_details.verticalForms);
        lines << QStringLiteral("縦書き用のメトリクス (vhea/vmtx): ") + yesNo(m_details.verticalMetrics);
        lines << QStringLiteral("字形: ") + GlyphFormsText(m_details.forms);
        lines << QStringLiteral("異体字シーケンス: ") + VariationSequencesText(m_details.forms);
        if (!charactersError.isEmpty())
            lines << QStringLiteral("文字: ") + charactersError;
    }
    Details->setPlainText(lines.join(u'\n'));

    // A print shop must see at once that the font may not travel in a PDF.
    const bool forbidden = m_details.error.isEmpty() && m_details.embedding == EmbeddingPermission::Restricted;
    Warning->setText(QStringLiteral("⚠ 埋め込み禁止: このフォントは PDF などの文書に埋め込めません"));
    Warning->setVisible(forbidden);

    Coverage->setRowCount(int(m_coverage.size()));
    for (int row = 0; row < m_coverage.size(); ++row) {
        const SetCoverage& set = m_coverage.at(row);
        Coverage->setItem(row, 0, new QTableWidgetItem(NameOf(set.set)));
        Coverage->setItem(row, 1, new QTableWidgetItem(CoverageText(set)));
        Coverage->setItem(row, 2, new QTableWidgetItem(NumberText(set.size - set.present)));
        Coverage->item(row, 1)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        Coverage->item(row, 2)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    Missing->clear();
    if (m_details.error.isEmpty())
        Vertical->setSample(m_details.path, m_details.index, m_sampleText, VerticalPixels);
    Vertical->setVisible(m_details.error.isEmpty());
    for (QPushButton* button : {CharacterMapButton, PrintButton, SaveButton})
        button->setEnabled(m_details.error.isEmpty());
    // Only a face that switches its forms has characters to show both ways.
    SwitchedButton->setEnabled(m_details.error.isEmpty() && (m_details.forms.jp90 || m_details.forms.jp04));
}

void FontDetailsWindow::showMissing()
{
    const int row = Coverage->currentRow();
    Missing->setPlainText(row >= 0 && row < m_coverage.size() ? MissingCharactersText(m_coverage.at(row)) : QString());
}

QString FontDetailsWindow::reportText() const
{
    QStringList lines{Details->toPlainText(), QString(), QStringLiteral("日本語の収録状況:")};
    for (const SetCoverage& set : m_coverage) {
        lines << NameOf(set.set) + QStringLiteral(": ") + CoverageText(set);
        if (!set.missing.isEmpty())
            lines << QStringLiteral("　足りない文字: ") + set.missing;
    }
    return lines.join(u'\n');
}
