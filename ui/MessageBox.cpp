#include "MessageBox.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "ProgramTitle.h"

void ShowMessageBox(QWidget* parent, const QString& text)
{
    const QString title = QString::fromStdString(
        ProgramTitle(QCoreApplication::applicationFilePath().toStdString()));
    // Not exec(): a nested event loop here would hold up whoever showed the
    // box, and runs keep posting captions meanwhile.
    auto* box = new QMessageBox(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    box->show();
}
