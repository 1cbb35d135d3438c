#include "ui/registers/registerwidgets.h"

#include "canvas/scaledcanvas.h"
#include "common/clock.h"
#include "common/strings.h"
#include "qtcanvas/qpaintercanvas.h"
#include "reports/pagesource.h"
#include "ui/common/messages.h"
#include "ui/common/prompter.h"
#include "ui/common/qtext.h"
#include "ui/reports/printdispatcher.h"

#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTreeView>
#include <algorithm>

namespace zorv::ui {

RegisterListModel::RegisterListModel(QStringList headers, std::function<int()> rows, Cell cell, QObject *parent)
    : QAbstractTableModel(parent)
    , m_headers(std::move(headers))
    , m_rows(std::move(rows))
    , m_cell(std::move(cell))
    , m_count(m_rows())
{
}

int RegisterListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_count;
}

int RegisterListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_headers.size());
}

QVariant RegisterListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole || index.row() >= m_count)
        return {};
    return toQt(m_cell(index.row(), index.column()));
}

QVariant RegisterListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= m_headers.size())
        return {};
    return m_headers[section];
}

void RegisterListModel::reload()
{
    beginResetModel();
    m_count = m_rows();
    endResetModel();
}

void RegisterListModel::rowChanged(int row)
{
    if (row >= 0 && row < m_count)
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

QStringList columnTitles(std::span<const registers::ColumnSpec> columns)
{
    QStringList titles;
    for (const registers::ColumnSpec &column : columns)
        titles << qstr(column.titleId);
    return titles;
}

QTreeView *registerView(QWidget *parent, RegisterListModel *model, std::span<const registers::ColumnSpec> columns,
    const settings::Settings &settings, settings::ColumnList list)
{
    auto *view = new QTreeView(parent);
    view->setObjectName(QStringLiteral("list"));
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setModel(model);
    view->header()->setStretchLastSection(false);
    int total = 0;
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
        const int saved = settings.columnWidth(list, c);
        // The built-in widths were dialog units of an 8-point font; today's fonts need a little more.
        const int width = saved != -1 && saved > 0 ? saved : columns[static_cast<std::size_t>(c)].width * 5 / 4;
        view->setColumnWidth(c, width);
        total += width;
    }
    view->setMinimumSize(std::min(total + 24, 900), 260);
    return view;
}

void storeColumnWidths(const QTreeView *view, settings::Settings &settings, settings::ColumnList list, int count)
{
    for (int c = 0; c < count; ++c)
        settings.setColumnWidth(list, c, view->columnWidth(c));
}

int currentRow(const QTreeView *view)
{
    const QModelIndex index = view->currentIndex();
    return index.isValid() ? index.row() : -1;
}

void selectRow(QTreeView *view, int row)
{
    if (row < 0 || row >= view->model()->rowCount()) {
        view->setCurrentIndex({});
        view->clearSelection();
        return;
    }
    const QModelIndex index = view->model()->index(row, 0);
    view->setCurrentIndex(index);
    view->scrollTo(index);
}

QPushButton *registerButton(const QString &text, const QString &name, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

bool saveOrDiscard(QWidget *parent, const QString &question, const std::function<bool()> &save)
{
    const Answer answer = askYesNoCancel(parent, question);
    if (answer == Answer::Yes)
        return save();
    return answer == Answer::No;
}

void showFailure(QWidget *parent, const common::Result &result)
{
    if (result.ok() || result.status() == common::Status::Cancelled)
        return;
    QMessageBox box(
        QMessageBox::Warning, qstr(StringId::AppTitle), toQt(result.message()), QMessageBox::NoButton, parent);
    box.addButton(ui::tr("OK"), QMessageBox::AcceptRole);
    prompter().exec(box);
}

namespace {

    // Both dialogs open in the folder of the register's file. The save dialog does not propose the file's
    // own name: it is asked for only when that file could not be read, and must not be written over.
    QString choosePath(QWidget *parent, FileRequest::Mode mode, const QString &filter, const QString &suffix,
        const std::string &current)
    {
        const bool open = mode == FileRequest::Mode::Open;
        FileRequest request;
        request.parent = parent;
        request.mode = mode;
        request.title = open ? ui::tr("Ouvrir") : ui::tr("Enregistrer sous");
        request.directory = QFileInfo(toQt(current)).absolutePath();
        request.filter = filter;
        // A name typed without an extension gets the register's, or the Open dialog's filter would hide the file.
        request.defaultSuffix = suffix;
        return chooseFile(request);
    }

} // namespace

QString chooseOpenPath(QWidget *parent, const QString &filter, const QString &suffix, const std::string &current)
{
    return choosePath(parent, FileRequest::Mode::Open, filter, suffix, current);
}

QString chooseSavePath(QWidget *parent, const QString &filter, const QString &suffix, const std::string &current)
{
    return choosePath(parent, FileRequest::Mode::Save, filter, suffix, current);
}

void addFormButtons(QDialog *form, QBoxLayout *layout)
{
    auto *buttons = new QDialogButtonBox(form);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setObjectName(QStringLiteral("ok"));
    buttons->addButton(ui::tr("Annuler"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("cancel"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, form, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, form, &QDialog::reject);
    layout->addWidget(buttons);
}

namespace {

    // Scales the painter so that one unit is 0.1 mm from the paper's corner.
    void paintPage(QPainter &painter, const registers::ListPrintout &list, int page, double pixelsPerMillimetre)
    {
        painter.save();
        painter.scale(pixelsPerMillimetre / 10.0, pixelsPerMillimetre / 10.0);
        qtcanvas::QPainterCanvas canvas(painter);
        registers::drawListPage(canvas, list, page);
        painter.restore();
    }

    // The list as the pages the print dispatcher hands to the printer or its preview.
    class ListPages final : public reports::PageSource {
    public:
        explicit ListPages(const registers::ListPrintout &list)
            : m_list(list)
            , m_count(registers::listPageCount(list))
        {
        }

        bool printPage(canvas::Canvas &canvas, reports::PageSizeMm) override
        {
            canvas::ScaledCanvas page(canvas, canvas::ScaledCanvas::tenthMillimetreScale(canvas.dpi()));
            registers::drawListPage(page, m_list, ++m_printed);
            return m_printed < m_count;
        }

    private:
        registers::ListPrintout m_list;
        int m_count;
        int m_printed = 0;
    };

} // namespace

bool printList(QWidget *parent, const registers::ListPrintout &list, reports::JobKind kind)
{
    // The program's printer, its paper and the preview are the main window's; a register
    // window shown on its own (in tests) asks for a printer itself.
    if (PrintDispatcher *dispatcher = PrintDispatcher::current()) {
        dispatcher->printPages(
            parent, kind, [list] { return std::make_unique<ListPages>(list); }, false);
        return true;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(toQt(list.title));
    QPrintDialog dialog(&printer, parent);
    if (prompter().exec(dialog) != QDialog::Accepted)
        return false;
    QPainter painter;
    if (!painter.begin(&printer)) {
        ui::warn(parent, qstr(StringId::AppTitle), ui::tr("L'impression n'a pas pu commencer."));
        return false;
    }
    const int pages = registers::listPageCount(list);
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            printer.newPage();
        paintPage(painter, list, page, printer.resolution() / 25.4);
    }
    painter.end();
    return true;
}

MonthAndYear currentMonth()
{
    const common::LocalDateTime now = common::clock().localNow();
    return { now.month, now.year };
}

} // namespace zorv::ui
