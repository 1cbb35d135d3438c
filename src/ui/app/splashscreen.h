// The picture shown while the program starts; it goes after 1500 ms or at the first key or click.
#pragma once

#include <QWidget>

namespace zorv::ui {

class SplashScreen : public QWidget {
    Q_OBJECT
public:
    explicit SplashScreen(QWidget *parent = nullptr);
    ~SplashScreen() override;

    // Shows the splash centred on the screen and closes it after `milliseconds`.
    void showFor(int milliseconds = 1500);

    QSize sizeHint() const override { return { 420, 260 }; }

protected:
    void paintEvent(QPaintEvent *event) override;
    // Every key and mouse press of the application is offered here first while the splash shows.
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace zorv::ui
