#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QTimer;

namespace velkaro {

// The small window that shows a progress script playing. It is created for
// one script and destroyed when the script ends.
class ProgressBarForm : public QWidget
{
    Q_OBJECT

public:
    explicit ProgressBarForm(QWidget* parent = nullptr);

    QProgressBar* PBar = nullptr;
    QLabel* Label1 = nullptr;
    // One-shot: armed by the player for each step, switched off when it fires.
    QTimer* MonoFlop = nullptr;

    // While true the user cannot close the window: the player owns it.
    void setPlaying(bool playing) { m_playing = playing; }

signals:
    // The armed interval has passed.
    void monoFlopExpired();

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void MonoFlop_Timer();

private:
    void Form_Load();

    bool m_playing = false;
};

} // namespace velkaro
