#include "ui/colours/nodecowindow.h"

#include "profile/nodecocurves.h"
#include "ui/colours/colourdialogs.h"
#include "ui/common/appcontext.h"
#include "ui/common/canvasview.h"
#include "ui/common/prompter.h"
#include "ui/common/qtext.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorv::ui {

namespace {

    // Which curves are shown, kept while the program runs but never saved.
    profile::NoDecoCurveSet s_shown = profile::kAllNoDecoCurves;

} // namespace

NoDecoWindow::NoDecoWindow(AppContext &context, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
{
    setWindowTitle(ui::tr("Comparaison des courbes sans palier"));

    auto *boxes = new QGridLayout;
    for (int c = 0; c < profile::kNoDecoCurveCount; ++c) {
        auto *box = new QCheckBox(toQt(profile::noDecoCurveName(static_cast<profile::NoDecoCurve>(c))), this);
        box->setChecked(s_shown[static_cast<std::size_t>(c)]);
        connect(box, &QCheckBox::toggled, this, [this, c](bool on) {
            s_shown[static_cast<std::size_t>(c)] = on;
            m_chart->invalidate();
        });
        m_boxes[static_cast<std::size_t>(c)] = box;
        // Two rows: the tables, then the dive computer.
        boxes->addWidget(box, c < 3 ? 0 : 1, c < 3 ? c : c - 3);
    }
    boxes->setHorizontalSpacing(18);

    m_chart = new CanvasView(
        [this](canvas::Canvas &canvas, canvas::Size size) {
            profile::drawNoDecoChart(canvas, size, m_context.settings.noDecoColours, s_shown);
        },
        QSize(600, 380), this);

    auto *quit = new QPushButton(ui::tr("&Quitter"), this);
    auto *colour = new QPushButton(ui::tr("&Couleur"), this);
    colour->setAutoDefault(false);
    connect(quit, &QPushButton::clicked, this, &QDialog::accept);
    connect(colour, &QPushButton::clicked, this, &NoDecoWindow::chooseColours);

    auto *left = new QVBoxLayout;
    left->addLayout(boxes);
    left->addWidget(m_chart, 1);
    auto *right = new QVBoxLayout;
    right->addWidget(quit);
    right->addWidget(colour);
    right->addStretch(1);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right);
}

void NoDecoWindow::chooseColours()
{
    if (showNoDecoColoursDialog(m_context, this))
        m_chart->invalidate();
}

void showNoDecoComparison(AppContext &context, QWidget *parent)
{
    NoDecoWindow window(context, parent);
    prompter().exec(window);
}

} // namespace zorv::ui
