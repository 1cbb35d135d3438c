// The window that compares the no-decompression limits of five tables and dive computers.
#pragma once

#include <QDialog>
#include <array>

class QCheckBox;

namespace zorv::ui {

struct AppContext;
class CanvasView;

void showNoDecoComparison(AppContext &context, QWidget *parent);

class NoDecoWindow final : public QDialog {
    Q_OBJECT
public:
    explicit NoDecoWindow(AppContext &context, QWidget *parent = nullptr);

    QCheckBox *curveBox(int curve) const { return m_boxes[static_cast<std::size_t>(curve)]; }
    CanvasView *chart() const { return m_chart; }

private:
    void chooseColours();

    AppContext &m_context;
    std::array<QCheckBox *, 5> m_boxes {};
    CanvasView *m_chart;
};

} // namespace zorv::ui
