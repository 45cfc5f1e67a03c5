#include <QApplication>

#include "RawBench.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    RawBench window;
    window.show();
    openFileFromArguments(window, QApplication::arguments());
    return application.exec();
}
