#include "Form1.h"

#include "Titles.h"

namespace velkaro {

Form1::Form1(QWidget* parent) : QWidget(parent)
{
    setWindowTitle(ProductTitle());
    resize(585, 424);
}

} // namespace velkaro
