#include "app/DialogParts.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "foundations/FR_Utils.h"
#include "foundations/MessageDlg.h"

QPushButton* NamedButton(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons, bool centred) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* b : buttons) row->addWidget(b);
    if (centred) row->addStretch();
    return row;
}
