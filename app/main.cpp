#include "Form1.h"
#include "GuardedApplication.h"
#include "QtModal.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[]) {
    TGuardedApplication application(argc, argv);
    QApplication::setApplicationName("Tessimap");
    TQtModal modal;
    TForm1 form(modal);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/tessimap.xpm")));
    modal.SetParent(&form);
    form.show();
    return application.exec();
}
