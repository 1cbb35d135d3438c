#include "ui/table/tableview.h"

#include "settings/tablecolumns.h"
#include "ui/common/appcontext.h"
#include "ui/common/prompter.h"
#include "ui/common/qtext.h"
#include "ui/common/windowplacement.h"
#include "ui/table/divetablemodel.h"

#include <QDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace zorv::ui {

namespace {

    // The list's edges stay this far inside the window's.
    constexpr int kListMargin = 8;

    class TableViewDialog : public QDialog {
    public:
        TableViewDialog(AppContext &context, const TableViewCallbacks &callbacks, QWidget *parent)
            : QDialog(parent)
            , m_context(context)
            , m_callbacks(callbacks)
            , m_model(context.logbook)
            , m_view(new QTableView(this))
        {
            setObjectName(QStringLiteral("tableView"));
            setWindowTitle(ui::tr("Vue tableau"));
            setSizeGripEnabled(true);

            auto *layout = new QVBoxLayout(this);
            layout->setContentsMargins(kListMargin, kListMargin, kListMargin, kListMargin);
            layout->addWidget(m_view);

            m_view->setObjectName(QStringLiteral("diveTable"));
            m_view->setModel(&m_model);
            m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
            m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
            m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
            m_view->setWordWrap(false);
            m_view->setAlternatingRowColors(true);
            m_view->setShowGrid(false);
            m_view->setCornerButtonEnabled(false);
            // Fixed rows let the view place row 30,000 without measuring the 29,999 before it.
            QHeaderView *rows = m_view->verticalHeader();
            rows->hide();
            rows->setSectionResizeMode(QHeaderView::Fixed);
            rows->setDefaultSectionSize(fontMetrics().height() + 6);
            QHeaderView *columns = m_view->horizontalHeader();
            columns->setSectionResizeMode(QHeaderView::Interactive);
            columns->setStretchLastSection(false);
            columns->setHighlightSections(false);
            for (int column = 0; column < settings::kTableColumnCount; ++column)
                columns->resizeSection(
                    column, settings::tableColumnWidth(m_context.settings, column, neededWidth(column)));

            restorePlacement();
            selectCurrentDive();

            connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [this](const QModelIndex &current) { rowChosen(current); });
            connect(m_view, &QAbstractItemView::doubleClicked, this, [this] { rowDoubleClicked(); });
        }

        void storeLayout()
        {
            const QHeaderView *columns = m_view->horizontalHeader();
            for (int column = 0; column < settings::kTableColumnCount; ++column)
                m_context.settings.setColumnWidth(settings::ColumnList::Table, column, columns->sectionSize(column));

            saveWindowPlacement(m_context, this, settings::Window::Table);
        }

    protected:
        void showEvent(QShowEvent *event) override
        {
            QDialog::showEvent(event);
            // Only a shown view knows its height, which centring the current dive needs.
            if (m_rememberedRow >= 0)
                m_view->scrollTo(m_model.index(m_rememberedRow, 0), QAbstractItemView::PositionAtCenter);
        }

    private:
        // Room for the title and for the widest text of a fixed-form column, with the cell's padding.
        int neededWidth(int column) const
        {
            const settings::TableColumn &info = settings::tableColumns()[static_cast<std::size_t>(column)];
            constexpr int kPadding = 14;
            const int text = m_view->fontMetrics().horizontalAdvance(QString::fromLatin1(info.widestText));
            const int title = m_view->horizontalHeader()->fontMetrics().horizontalAdvance(qstr(info.titleId));
            return std::max(text, title) + kPadding;
        }

        void restorePlacement()
        {
            int width = kListMargin * 2 + m_view->frameWidth() * 2 + m_view->verticalScrollBar()->sizeHint().width();
            for (int column = 0; column < settings::kTableColumnCount; ++column)
                width += m_view->horizontalHeader()->sectionSize(column);
            resize(width, 480);

            const auto stored = storedPlacement(m_context, settings::Window::Table);
            if (!stored)
                return;
            setGeometry(stored->rect);
            if (stored->maximized)
                setWindowState(windowState() | Qt::WindowMaximized);
        }

        void selectCurrentDive()
        {
            const int row = m_context.logbook.currentDive() - 1;
            if (row < 0 || row >= m_model.rowCount())
                return;
            m_view->selectRow(row);
            m_rememberedRow = row;
        }

        void rowChosen(const QModelIndex &current)
        {
            if (!current.isValid() || current.row() == m_rememberedRow)
                return;
            m_rememberedRow = current.row();
            if (m_callbacks.goToDive)
                m_callbacks.goToDive(m_rememberedRow + 1);
        }

        void rowDoubleClicked()
        {
            const QModelIndexList selected = m_view->selectionModel()->selectedRows();
            if (selected.size() != 1)
                return;
            const int position = selected.first().row() + 1;
            m_rememberedRow = position - 1;
            if (m_callbacks.goToDive)
                m_callbacks.goToDive(position);
            accept();
        }

        AppContext &m_context;
        const TableViewCallbacks &m_callbacks;
        DiveTableModel m_model;
        QTableView *m_view;
        int m_rememberedRow = -1;
    };

} // namespace

void showTableView(AppContext &context, const TableViewCallbacks &callbacks, QWidget *parent)
{
    TableViewDialog dialog(context, callbacks, parent);
    prompter().exec(dialog);
    dialog.storeLayout();
}

} // namespace zorv::ui
