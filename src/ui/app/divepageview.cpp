#include "ui/app/divepageview.h"

#include "logbook/divepage.h"
#include "logbook/fieldcatalogue.h"
#include "profile/previewdrawing.h"
#include "settings/options.h"
#include "ui/app/divelistmodel.h"
#include "ui/common/appcontext.h"
#include "ui/common/divelistdelegate.h"
#include "ui/common/qtext.h"
#include "ui/common/valuefield.h"
#include "ui/profile/profilepreview.h"

#include <QContextMenuEvent>
#include <QGridLayout>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QVBoxLayout>

namespace zorv::ui {

namespace {

    using app::Command;
    // Wide enough for the number, the date and a usual place and site.
    constexpr int kDiveListWidth = 360;

    using C = logbook::PageControl;

    // Pairs of controls on one line of the page; None leaves the right half empty,
    // a whole line lets the left value run across the line.
    enum class Span {
        Half,
        WholeLine,
    };
    struct PageLine {
        C left;
        C right;
        Span span = Span::Half;
    };
    constexpr Span kWholeLine = Span::WholeLine;
    constexpr PageLine kPageLines[] = {
        { C::Date, C::EntryTime },
        { C::Place, C::None, kWholeLine },
        { C::Site, C::None, kWholeLine },
        { C::AltitudeClass, C::SurfaceInterval },
        { C::Weather, C::AirTemperature },
        { C::Suit, C::Model },
        { C::TankVolume, C::TankPressure },
        { C::TankMaterial, C::Visibility },
        { C::MaxDepth, C::AverageDepth },
        { C::Duration, C::MinWaterTemperature },
        { C::AirUsed, C::AirConsumption },
        { C::Weights, C::None },
        { C::DiveType, C::None, kWholeLine },
        { C::Activities, C::None, kWholeLine },
        { C::Warnings, C::None, kWholeLine },
        { C::Partners, C::None, kWholeLine },
    };

    // Columns of the page grid: label, value, unit, gap, label, value, unit.
    constexpr int kRightLabelColumn = 4;
    constexpr int kColumns = 7;

    // Context menu items and the commands they stand for.
    struct ContextItem {
        StringId textId;
        Command command;
    };
    constexpr ContextItem kContextItems[] = {
        { StringId::ContextEdit, Command::EditDive },
        { StringId::ContextNew, Command::InsertDive },
        { StringId::ContextDelete, Command::DeleteDive },
    };

    const QString kComputerStyle = QStringLiteral("QLabel { color: rgb(255, 64, 64); background: black; }");
    const QString kComputerProfileStyle = QStringLiteral("QLabel { color: white; background: rgb(0, 64, 0); }");
    const QString kHandProfileStyle = QStringLiteral("QLabel { color: white; background: rgb(128, 0, 64); }");

    // Every row the page can show, weights included, for the labels and units.
    std::vector<logbook::DivePageRow> allRows(const AppContext &context)
    {
        const logbook::FieldCatalogue catalogue(context.logbook);
        return logbook::divePage(
            context.logbook, catalogue, context.logbook.currentDive(), { logbook::Mode::Advanced, true });
    }

} // namespace

DivePageView::DivePageView(AppContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
{
    for (const logbook::DivePageRow &row : allRows(context)) {
        m_labelTexts.insert(row.controlId, toQt(row.label));
        if (row.unitControlId != C::None)
            m_unitOfControl.insert(row.controlId, row.unitControlId);
    }

    m_model = new DiveListModel(context.logbook, this);
    m_list = new QListView;
    m_list->setModel(m_model);
    m_list->setItemDelegate(new DiveListDelegate(m_list));
    m_list->setUniformItemSizes(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setAlternatingRowColors(true);
    // The list keeps its width when the window gets small, as the page's form
    // always had it; a line too long for it is cut, never scrolled sideways.
    m_list->setMinimumWidth(kDiveListWidth);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setTextElideMode(Qt::ElideRight);
    connect(m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        [this](const QModelIndex &current) { currentLineChanged(current.row()); });
    connect(m_list, &QListView::doubleClicked, this, [this](const QModelIndex &index) {
        if (m_context.logbook.diveCount() == 0 || !index.isValid())
            return;
        m_context.logbook.setCurrentDive(index.row() + 1);
        emit commandRequested(Command::EditDive);
    });

    m_splitter = new QSplitter(Qt::Horizontal);
    m_splitter->addWidget(m_list);
    m_splitter->addWidget(buildPage());
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setChildrenCollapsible(false);
    m_splitter->setSizes({ kDiveListWidth, 640 });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(buildHeader());
    layout->addWidget(m_splitter, 1);

    applyOptions();
    reloadList();
}

QLabel *DivePageView::valueField(logbook::PageControl controlId)
{
    QLabel *value = newValueField(this);
    m_values.insert(controlId, value);
    return value;
}

void DivePageView::addRow(QGridLayout *grid, int row, int column, logbook::PageControl controlId, int span)
{
    auto *label = new QLabel(m_labelTexts.value(controlId));
    m_labels.insert(controlId, label);
    grid->addWidget(label, row, column);
    grid->addWidget(valueField(controlId), row, column + 1, 1, span);
    if (const C unitId = m_unitOfControl.value(controlId, C::None); unitId != C::None) {
        auto *unit = new QLabel;
        unit->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("cft/min")) + 2);
        m_units.insert(unitId, unit);
        grid->addWidget(unit, row, column + 2);
    }
}

QWidget *DivePageView::buildHeader()
{
    auto *header = new QWidget;
    auto *grid = new QGridLayout(header);
    grid->setContentsMargins(0, 0, 0, 4);
    grid->setHorizontalSpacing(6);
    addRow(grid, 0, 0, C::File, 10);
    addRow(grid, 1, 0, C::DiveCount);
    grid->addItem(new QSpacerItem(16, 1), 1, 2);
    addRow(grid, 1, 3, C::MeanAirConsumption);
    grid->addItem(new QSpacerItem(16, 1), 1, 6);
    addRow(grid, 1, 7, C::TotalTime);
    for (int column : { 1, 4, 8 })
        grid->setColumnStretch(column, 1);
    return header;
}

QWidget *DivePageView::buildPage()
{
    auto *page = new QWidget;
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);

    addRow(grid, 0, 0, C::DiveNumber);
    auto *computer = valueField(C::ComputerName);
    computer->setStyleSheet(kComputerStyle);
    computer->setFrameStyle(QFrame::NoFrame);
    computer->setAlignment(Qt::AlignCenter);
    auto *kind = valueField(C::ProfileKind);
    kind->setFrameStyle(QFrame::NoFrame);
    kind->setAlignment(Qt::AlignCenter);
    auto *badges = new QHBoxLayout;
    badges->setSpacing(6);
    badges->addWidget(computer, 3);
    badges->addWidget(kind, 2);
    grid->addLayout(badges, 0, kRightLabelColumn, 1, 3);

    int row = 1;
    for (const PageLine &line : kPageLines) {
        if (line.span == kWholeLine) {
            addRow(grid, row, 0, line.left, kColumns - 1);
        } else {
            addRow(grid, row, 0, line.left);
            if (line.right != C::None)
                addRow(grid, row, kRightLabelColumn, line.right);
        }
        ++row;
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(5, 1);
    grid->setColumnMinimumWidth(3, 12);

    auto *commentLabel = new QLabel(m_labelTexts.value(C::Comment));
    m_labels.insert(C::Comment, commentLabel);
    m_comment = new QPlainTextEdit;
    m_comment->setReadOnly(true);
    m_comment->setMinimumHeight(80);
    m_comment->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto *commentColumn = new QVBoxLayout;
    commentColumn->addWidget(commentLabel);
    commentColumn->addWidget(m_comment, 1);

    m_preview = new ProfilePreview(m_context);
    auto *bottom = new QHBoxLayout;
    bottom->setSpacing(10);
    bottom->addLayout(commentColumn, 1);
    bottom->addWidget(m_preview, 1);

    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(10, 0, 0, 0);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addLayout(bottom, 1);
    return page;
}

void DivePageView::applyOptions()
{
    const settings::Settings &s = m_context.settings;
    const bool weights = s.advancedMode && s.dataFields[static_cast<std::size_t>(settings::DataField::Weights)];
    for (QWidget *w :
        { static_cast<QWidget *>(m_labels.value(C::Weights)), static_cast<QWidget *>(m_values.value(C::Weights)),
            static_cast<QWidget *>(m_units.value(m_unitOfControl.value(C::Weights))) })
        if (w)
            w->setVisible(weights);
    // With the option off the preview stays as a plain button of its own size at the top left of its place.
    const auto option = s.profilePreview ? profile::PreviewOption::On : profile::PreviewOption::Off;
    const canvas::Size minimum = profile::previewButtonSize(option, { 0, 0 }, { 0, 0 });
    const QSizePolicy::Policy policy = s.profilePreview ? QSizePolicy::Expanding : QSizePolicy::Fixed;
    m_preview->setMinimumSize(minimum.width, minimum.height);
    m_preview->setSizePolicy(policy, policy);
    for (QLayout *box : m_preview->parentWidget()->findChildren<QLayout *>())
        box->setAlignment(m_preview, s.profilePreview ? Qt::Alignment() : Qt::AlignLeft | Qt::AlignTop);
    m_preview->invalidatePicture();
    refreshPage();
}

void DivePageView::refreshPage()
{
    const logbook::Logbook &lb = m_context.logbook;
    const settings::Settings &s = m_context.settings;
    const logbook::FieldCatalogue catalogue(lb);
    const logbook::DivePageOptions options { lb.mode(),
        s.dataFields[static_cast<std::size_t>(settings::DataField::Weights)] };
    const logbook::DiveRecord *dive = lb.dive(lb.currentDive());
    const auto isHeader
        = [](C id) { return id == C::File || id == C::DiveCount || id == C::MeanAirConsumption || id == C::TotalTime; };
    for (const logbook::DivePageRow &row : logbook::divePage(lb, catalogue, lb.currentDive(), options)) {
        // Without a dive the page stays empty rather than describing the blank record.
        const QString value = dive || isHeader(row.controlId) ? toQt(row.value) : QString();
        if (row.controlId == C::Comment) {
            if (m_comment->toPlainText() != value)
                m_comment->setPlainText(value);
        } else if (QLabel *label = m_values.value(row.controlId)) {
            label->setText(value);
            label->setToolTip(value.size() > 30 ? value : QString());
        }
        if (QLabel *unit = m_units.value(row.unitControlId))
            unit->setText(toQt(row.unit));
    }
    colourProfileKind(dive ? static_cast<int>(logbook::profileKind(*dive)) : 0);
    m_values.value(C::ComputerName)->setVisible(!valueText(C::ComputerName).isEmpty());
    m_values.value(C::ProfileKind)->setVisible(dive != nullptr);
    m_preview->setDivePosition(lb.currentDive());
}

void DivePageView::colourProfileKind(int kind)
{
    QLabel *label = m_values.value(C::ProfileKind);
    switch (kind) {
    case 1:
        label->setStyleSheet(kComputerProfileStyle);
        break;
    case 2:
        label->setStyleSheet(kHandProfileStyle);
        break;
    default:
        label->setStyleSheet({});
        break;
    }
    label->setFrameStyle(kind == 0 ? QFrame::StyledPanel | QFrame::Sunken : QFrame::NoFrame);
}

QString DivePageView::valueText(logbook::PageControl controlId) const
{
    if (controlId == C::Comment)
        return m_comment->toPlainText();
    QLabel *label = m_values.value(controlId);
    return label ? label->text() : QString();
}

void DivePageView::goToDive(int position)
{
    m_context.logbook.setCurrentDive(position);
    selectCurrentLine();
    refreshPage();
}

void DivePageView::reloadList()
{
    m_model->reload();
    selectCurrentLine();
    m_preview->invalidatePicture();
    refreshPage();
}

void DivePageView::diveChanged(int position)
{
    m_model->diveChanged(position);
    if (position == m_context.logbook.currentDive())
        m_preview->invalidatePicture();
}

void DivePageView::selectCurrentLine()
{
    const int current = m_context.logbook.currentDive();
    m_selecting = true;
    if (current >= 1 && current <= m_model->rowCount()) {
        const QModelIndex index = m_model->index(current - 1);
        m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        m_list->scrollTo(index);
    } else {
        m_list->selectionModel()->clear();
    }
    m_selecting = false;
}

void DivePageView::currentLineChanged(int row)
{
    if (m_selecting || m_context.logbook.diveCount() == 0 || row < 0)
        return;
    m_context.logbook.setCurrentDive(row + 1);
    refreshPage();
}

void DivePageView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QWidget::mouseDoubleClickEvent(event);
    if (m_context.logbook.diveCount() > 0)
        emit commandRequested(Command::EditDive);
}

void DivePageView::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    const bool divesExist = m_context.logbook.diveCount() > 0;
    for (const ContextItem &item : kContextItems) {
        QAction *action = menu.addAction(qstr(item.textId));
        action->setEnabled(item.command == Command::InsertDive || divesExist);
        const Command command = item.command;
        connect(action, &QAction::triggered, this, [this, command] { emit commandRequested(command); });
    }
    menu.exec(event->globalPos());
}

} // namespace zorv::ui
