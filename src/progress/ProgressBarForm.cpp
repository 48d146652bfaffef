#include "ProgressBarForm.h"

#include "Accessibility.h"
#include "Titles.h"
#include "Twips.h"
#include "WindowPlacement.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

namespace velkaro {

ProgressBarForm::ProgressBarForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("ProgressBarForm"));
    ReportAsWindow(this);
    setFixedSize(Pixels(6150), Pixels(945));

    PBar = new QProgressBar(this);
    PBar->setObjectName(QStringLiteral("PBar"));
    PBar->setGeometry(Pixels({120, 120, 5895, 435}));
    PBar->setRange(0, 100);
    PBar->setValue(0);

    Label1 = new QLabel(QStringLiteral("Bitte warten ..."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    // The label as laid out is 13 px high, less than a line of most fonts:
    // let it reach down to the window's edge so that the text is not cut.
    const QRect label = Pixels({0, 660, 6135, 195});
    Label1->setGeometry(label.left(), label.top(), label.width(), height() - label.top());

    MonoFlop = new QTimer(this);
    MonoFlop->setObjectName(QStringLiteral("MonoFlop"));
    MonoFlop->setSingleShot(true);
    // A coarse timer may fire up to 5 % early; the delays are meant as given.
    MonoFlop->setTimerType(Qt::PreciseTimer);
    connect(MonoFlop, &QTimer::timeout, this, &ProgressBarForm::MonoFlop_Timer);

    Form_Load();
}

void ProgressBarForm::Form_Load()
{
    setWindowTitle(ProductTitle());
    CenterFormOnScreen(this);
}

void ProgressBarForm::MonoFlop_Timer()
{
    MonoFlop->stop();
    emit monoFlopExpired();
}

void ProgressBarForm::closeEvent(QCloseEvent* event)
{
    if (m_playing)
        event->ignore();
    else
        QWidget::closeEvent(event);
}

} // namespace velkaro
