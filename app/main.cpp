#include "Bitmap.h"
#include "PictureView.h"

#include <QApplication>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Tessimap");

    TBitmap picture(1000, 1000, TPixelFormat::pf24bit);
    picture.Brush.Color = clBlack;
    picture.FillRect(TRect{0, 0, picture.Width(), picture.Height()});

    QMainWindow window;
    window.setWindowTitle("Tessimap");
    auto* scrollBox = new QScrollArea(&window);
    scrollBox->setWidget(new TPictureView(picture));
    window.setCentralWidget(scrollBox);
    window.resize(700, 500);
    window.show();
    return application.exec();
}
