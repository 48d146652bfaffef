#pragma once

#include <QWidget>

namespace velkaro {

class Form1 : public QWidget
{
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);
};

} // namespace velkaro
