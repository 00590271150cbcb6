#include "fontfileview/DisabledFontsWindow.h"

#include "catalog/SizeText.h"
#include "desktop/ProgramIcon.h"
#include "fontfiles/DisabledFonts.h"
#include "fontfiles/FontInstaller.h"
#include "platform/Dialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

DisabledFontsWindow::DisabledFontsWindow(platform::Dialogs& dialogs, FontPlaces places, QWidget* parent)
    : QWidget(parent), m_dialogs(dialogs), m_places(std::move(places))
{
    setWindowTitle(QStringLiteral("無効にしたフォント"));
    setWindowIcon(platform::programIcon());
    Fonts = new QListWidget(this);
    Fonts->setSelectionMode(QAbstractItemView::ExtendedSelection);
    CountLabel = new QLabel(this);
    EnableButton = new QPushButton(QStringLiteral("有効にする(&E)"), this);
    auto buttons = new QHBoxLayout;
    buttons->addWidget(CountLabel, 1);
    buttons->addWidget(EnableButton);
    auto layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("このユーザーのすべてのプログラムから隠しているフォントです。"), this));
    layout->addWidget(Fonts, 1);
    layout->addLayout(buttons);
    connect(EnableButton, &QPushButton::clicked, this, &DisabledFontsWindow::enableChosen);
    connect(Fonts, &QListWidget::itemSelectionChanged, this,
            [this] { EnableButton->setEnabled(!Fonts->selectedItems().isEmpty()); });
    connect(Fonts, &QListWidget::itemActivated, this, &DisabledFontsWindow::enableChosen);
    resize(560, 320);
    refresh();
}

void DisabledFontsWindow::refresh()
{
    Fonts->clear();
    const DisabledFonts off = ReadDisabledFonts(m_places);
    for (const DisabledFont& font : off.fonts) {
        auto item = new QListWidgetItem(font.family + QStringLiteral("　") + font.path, Fonts);
        item->setData(Qt::UserRole, font.path);
        item->setToolTip(font.path);
    }
    CountLabel->setText(off.error.isEmpty() ? QStringLiteral("総数: ") + NumberText(off.fonts.size()) + QStringLiteral(" 個")
                                            : off.error);
    EnableButton->setEnabled(false);
}

void DisabledFontsWindow::enableChosen()
{
    QStringList paths;
    for (const QListWidgetItem* item : Fonts->selectedItems())
        paths << item->data(Qt::UserRole).toString();
    if (paths.isEmpty())
        return;
    const SwitchResult result = EnableFonts(paths, m_places);
    if (result.error.isEmpty())
        m_dialogs.messageBox(QStringLiteral("%1 個のフォントを有効にしました。\r\r").arg(result.changed) + NextStartNotice(),
                             platform::MbInformation, QStringLiteral("Glyfaro 2"));
    else
        m_dialogs.messageBox(QStringLiteral("有効にできませんでした。\r\r") + result.error, platform::MbCritical,
                             QStringLiteral("Glyfaro 2"));
    refresh();
}
