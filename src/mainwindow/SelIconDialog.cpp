#include "SelIconDialog.h"

#include "IconChoice.h"
#include "IconLibrary.h"
#include "Project.h"
#include "Titles.h"
#include "Twips.h"
#include "WindowPlacement.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>

namespace velkaro {

namespace {

// The item's library number, which is also its position in the list plus one.
int ItemNumber(const QListWidgetItem* item)
{
    return item ? item->data(Qt::UserRole).toInt() : 0;
}

} // namespace

SelIconDialog::SelIconDialog(Project& project, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_project(project)
{
    setObjectName(QStringLiteral("SelIconDialog"));
    setModal(true);
    setFixedSize(Pixels(8205), Pixels(5835));

    Frame1 = new QGroupBox(QStringLiteral("Bitte wählen Sie das gewünschte Icon aus ... "), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(Pixels({90, 90, 8025, 5205}));

    IconListView = new QListWidget(Frame1);
    IconListView->setObjectName(QStringLiteral("IconListView"));
    IconListView->setGeometry(Pixels({120, 240, 7755, 4815}));
    IconListView->setViewMode(QListView::IconMode);
    IconListView->setIconSize(QSize(32, 32));
    IconListView->setGridSize(QSize(50, 54));
    IconListView->setMovement(QListView::Static);
    IconListView->setResizeMode(QListView::Adjust);
    IconListView->setFlow(QListView::LeftToRight);
    IconListView->setWrapping(true);
    IconListView->setWordWrap(false);
    // All items have the same size: the view need not measure 511 of them.
    IconListView->setUniformItemSizes(true);
    IconListView->setSelectionMode(QAbstractItemView::SingleSelection);

    static const char* const captions[] = {"OK", "Abbrechen"};
    static const int lefts[] = {6900, 5610};
    for (int i = 0; i < 2; ++i) {
        Btn[static_cast<size_t>(i)] = new QPushButton(QString::fromUtf8(captions[i]), this);
        QPushButton* button = Btn[static_cast<size_t>(i)];
        button->setObjectName(QStringLiteral("Btn_%1").arg(i));
        button->setGeometry(Pixels({lefts[i], 5370, 1215, 375}));
        connect(button, &QPushButton::clicked, this, [this, i] { Btn_Click(i); });
    }
    // "OK" needs a selected icon; Enter then means "OK".
    Btn[0]->setDefault(true);
    Btn[0]->setEnabled(false);
    connect(IconListView, &QListWidget::itemSelectionChanged, this,
            [this] { Btn[0]->setEnabled(!IconListView->selectedItems().isEmpty()); });
    connect(IconListView, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        IconListView->setCurrentItem(item);
        Btn_Click(0);
    });
}

void SelIconDialog::Form_Load()
{
    const IconLibrary& library = IconLibrary::instance();
    const qint16 count = static_cast<qint16>(library.count());
    setWindowTitle(ProductTitle() + QStringLiteral(" - Icon-Auswahl (") + QString::number(count) +
                   QStringLiteral(" Stück)"));

    IconListView->clear();
    for (int i = 1; i <= count; ++i) {
        auto* item = new QListWidgetItem(library.icon(i), QString::number(i));
        item->setData(Qt::UserRole, i);
        // The name that velkaro-autostart --icon library:NAME takes.
        item->setToolTip(QString::number(i) + QStringLiteral(": ") + library.name(i));
        item->setTextAlignment(Qt::AlignHCenter);
        IconListView->addItem(item);
        // Keep painting while the list fills. Input waits until the fill is
        // done: a click now could start a second dialog or close the main
        // window under the running fill.
        if (i % 32 == 1)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

void SelIconDialog::Btn_Click(int index)
{
    if (index == 0) {
        const QList<QListWidgetItem*> selected = IconListView->selectedItems();
        ApplyLibraryIcon(m_project, selected.isEmpty() ? 0 : ItemNumber(selected.first()));
        accept();
    } else {
        ApplyLibraryIcon(m_project, 0);
        reject();
    }
}

int ShowIconLibrary(Project& project, QWidget* parent)
{
    SelIconDialog dialog(project, parent);
    dialog.Form_Load();
    CenterFormOnScreen(&dialog);
    if (dialog.exec() != QDialog::Accepted)
        return 0;
    const QList<QListWidgetItem*> selected = dialog.IconListView->selectedItems();
    return selected.isEmpty() ? 0 : ItemNumber(selected.first());
}

} // namespace velkaro
