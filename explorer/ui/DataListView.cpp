#include "explorer/ui/DataListView.h"

#include "dataaccess/TableData.h"
#include "explorer/browser/xElement.h"
#include "explorer/ui/DataListModel.h"
#include "explorer/ui/DescriptionTip.h"
#include "platform/BrelibException.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace qb::ui {
namespace {

// A click this close to a long value's left edge, on the cursor cell, opens the viewer.
constexpr int kTriangleZone = 22;
constexpr QPoint kTipOffset{15, 15};

} // namespace

DataListView::DataListView(QWidget* parent)
    : QWidget(parent), m_model(new DataListModel(this)), m_stack(new QStackedWidget(this)),
      m_table(new QTableView(m_stack)), m_items(new QListView(m_stack)), m_delegate(new DataCellDelegate(this)),
      m_tip(new DescriptionTip(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_stack);
    m_stack->addWidget(m_table);
    m_stack->addWidget(m_items);
    setFocusProxy(m_table);

    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(m_table), static_cast<QAbstractItemView*>(m_items)}) {
        view->setModel(m_model);
        view->setItemDelegate(m_delegate);
        view->setSelectionMode(QAbstractItemView::NoSelection);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
    }
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionsClickable(false);
    m_table->horizontalHeader()->setHighlightSections(false);
    m_table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    m_table->setWordWrap(false);
    m_table->setTabKeyNavigation(false);
    m_items->setUniformItemSizes(true);
    m_items->setResizeMode(QListView::Adjust);
    m_items->setMovement(QListView::Static);

    connect(m_model, &QAbstractItemModel::headerDataChanged, this, [this](Qt::Orientation, int first, int last) {
        for (int c = first; c <= last && c < int(m_model->listColumns().size()); ++c)
            m_table->setColumnWidth(c, m_model->listColumns()[size_t(c)].width);
    });
    connect(m_model, &QAbstractItemModel::columnsInserted, this, [this](const QModelIndex&, int first, int last) {
        for (int c = first; c <= last; ++c)
            m_table->setColumnWidth(c, m_model->listColumns()[size_t(c)].width);
        contentChanged();
    });
    connect(m_model, &QAbstractItemModel::columnsRemoved, this, [this] { contentChanged(); });
    connect(m_model, &QAbstractItemModel::rowsInserted, this, [this] { contentChanged(); });
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, [this] { contentChanged(); });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { contentChanged(); });
    setOptions(m_options);
    setMode(ReportMode);
}

void DataListView::setGate(std::function<bool()> gate)
{
    m_gate = gate;
    m_model->setAskGate(std::move(gate));
}

bool DataListView::mayAsk() const
{
    return m_model->element() && (!m_gate || m_gate());
}

QAbstractItemView* DataListView::activeView() const
{
    return m_mode == ReportMode ? static_cast<QAbstractItemView*>(m_table) : m_items;
}

void DataListView::setMode(int mode)
{
    if (mode < IconsMode || mode > ListMode)
        mode = ReportMode;
    m_mode = mode;
    switch (mode) {
    case IconsMode:
        m_items->setViewMode(QListView::IconMode);
        m_items->setIconSize(QSize(32, 32));
        m_items->setFlow(QListView::LeftToRight);
        m_items->setWrapping(true);
        m_items->setGridSize(QSize(96, 64));
        break;
    case SmallIconsMode:
        m_items->setViewMode(QListView::ListMode);
        m_items->setIconSize(QSize(16, 16));
        m_items->setFlow(QListView::LeftToRight);
        m_items->setWrapping(true);
        m_items->setGridSize(QSize(160, m_items->fontMetrics().height() + 6));
        break;
    case ListMode:
        m_items->setViewMode(QListView::ListMode);
        m_items->setIconSize(QSize(16, 16));
        m_items->setFlow(QListView::TopToBottom);
        m_items->setWrapping(true);
        m_items->setGridSize(QSize(180, m_items->fontMetrics().height() + 6));
        break;
    default:
        break;
    }
    const bool focused = activeView() != m_stack->currentWidget() && m_stack->currentWidget()
                         && m_stack->currentWidget()->hasFocus();
    m_stack->setCurrentWidget(activeView());
    setFocusProxy(activeView());
    if (focused)
        activeView()->setFocus();
    contentChanged();
}

void DataListView::setOptions(const Options& options)
{
    m_options = options;
    m_table->setShowGrid(options.showGrid);
    DataCellDelegate::Cursor c = m_delegate->cursor();
    c.fullRow = options.fullRow;
    m_delegate->setCursor(c);
    activeView()->viewport()->update();
}

CellCursor::Extent DataListView::extent() const
{
    CellCursor::Extent e;
    e.items = m_model->rowCount();
    e.columns = m_mode == ReportMode ? m_model->columnCount() : 1;
    const int rowHeight = std::max(1, m_table->verticalHeader()->defaultSectionSize());
    e.visibleRows = std::max(1, m_table->viewport()->height() / rowHeight);
    if (browser::xElement* element = m_model->element(); element && mayAsk())
        if (const data::TableData* table = element->tableData(); table && table->isLoaded()) {
            e.hasNextPage = table->currentPage() + 1 < table->pageCount();
            e.hasPreviousPage = table->currentPage() > 0;
        }
    return e;
}

void DataListView::cursorMoved()
{
    DataCellDelegate::Cursor c = m_delegate->cursor();
    c.row = m_model->rowCount() > 0 ? m_cursor.row() : -1;
    c.column = m_cursor.column();
    c.rowsOnly = m_mode != ReportMode;
    m_delegate->setCursor(c);
    if (c.row >= 0) {
        const QModelIndex index = m_model->index(m_cursor.row(), m_mode == ReportMode ? m_cursor.column() : 0);
        if (index.isValid()) {
            activeView()->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
            activeView()->scrollTo(index);
        }
    }
    activeView()->viewport()->update();
    emit cursorChanged(m_cursor.row(), m_cursor.column());
}

void DataListView::contentChanged()
{
    m_cursor.clamp(m_model->rowCount(), m_mode == ReportMode ? m_model->columnCount() : 1);
    cursorMoved();
}

void DataListView::resetCursor()
{
    m_cursor.reset();
    contentChanged();
}

void DataListView::pressCursorKey(int qtKey)
{
    handleKey(qtKey, Qt::NoModifier);
}

void DataListView::turnPage(CellCursor::PageTurn turn)
{
    browser::xElement* element = m_model->element();
    data::TableData* table = element ? element->tableData() : nullptr;
    if (!table)
        return;
    const int oldItems = m_model->rowCount();
    const int page = table->currentPage() + (turn == CellCursor::PageTurn::Next ? 1 : -1);
    QString failure;
    m_table->setUpdatesEnabled(false);
    m_items->setUpdatesEnabled(false);
    try {
        table->loadPage(page);
    } catch (const Brelib::exception& e) {
        failure = e.text();
    }
    // Also after a failure: the list shows what the page state now holds.
    m_model->setItemCount(element->listItemCount());
    m_cursor.afterPageTurn(turn, oldItems, m_model->rowCount());
    m_table->setUpdatesEnabled(true);
    m_items->setUpdatesEnabled(true);
    cursorMoved();
    // The new page is painted now, not at the next paint cycle.
    activeView()->viewport()->repaint();
    if (!failure.isEmpty())
        emit pageFailed(failure);
}

bool DataListView::handleKey(int key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & (Qt::AltModifier | Qt::ControlModifier))
        return false;
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Left:
    case Qt::Key_Right: {
        if (!mayAsk())
            return true;
        const CellCursor::Outcome out = m_cursor.key(key, extent());
        if (out.turn != CellCursor::PageTurn::None)
            turnPage(out.turn);
        else if (out.moved)
            cursorMoved();
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        if (!mayAsk() || m_model->rowCount() == 0)
            return true;
        const int column = m_mode == ReportMode ? m_cursor.column() : 0;
        if (DataCellDelegate::isLongValueText(m_model->cellText(m_cursor.row(), column)))
            emit viewerRequested(m_cursor.row(), column);
        else
            emit itemActivated(m_cursor.row());
        return true;
    }
    default:
        return false;
    }
}

void DataListView::handlePress(QAbstractItemView* view, const QPoint& pos, Qt::MouseButton button)
{
    if (button != Qt::LeftButton && button != Qt::RightButton)
        return;
    const QModelIndex hit = view->indexAt(pos);
    if (!hit.isValid() || !mayAsk())
        return;
    if (view == m_table) {
        const bool onCursorCell = hit.row() == m_cursor.row() && hit.column() == m_cursor.column();
        const QRect cell = m_table->visualRect(hit);
        if (button == Qt::LeftButton && onCursorCell && pos.x() < cell.left() + kTriangleZone
            && DataCellDelegate::isLongValueText(m_model->cellText(hit.row(), hit.column()))) {
            emit viewerRequested(hit.row(), hit.column());
            return;
        }
        m_cursor.moveTo(hit.row(), hit.column(), m_model->rowCount(), m_model->columnCount());
    } else {
        m_cursor.moveTo(hit.row(), 0, m_model->rowCount(), 1);
    }
    cursorMoved();
}

void DataListView::handleTipClick(QAbstractItemView* view, const QPoint& pos, Qt::MouseButtons buttons,
                                  Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers keys = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool alone = buttons == Qt::LeftButton && keys == Qt::NoModifier && m_options.tipOnClick;
    const bool withShift = buttons == Qt::LeftButton && keys == Qt::ShiftModifier && m_options.tipOnShiftClick;
    if (!alone && !withShift)
        return;
    if (!view->viewport()->rect().contains(pos) || !mayAsk()) {
        m_tip->hide();
        return;
    }
    const QModelIndex hit = view->indexAt(pos);
    browser::xElement* element = m_model->element();
    if (!hit.isValid() || !element->isLoaded()) {
        m_tip->hide();
        return;
    }
    const QString text = DescriptionTip::oneLine(element->cellDescription(hit.row(), hit.column()));
    m_tip->showTip(element->caption(), text, view->viewport()->mapToGlobal(pos) + kTipOffset);
}

bool DataListView::eventFilter(QObject* watched, QEvent* event)
{
    QAbstractItemView* view = nullptr;
    if (watched == m_table || watched == m_table->viewport())
        view = m_table;
    else if (watched == m_items || watched == m_items->viewport())
        view = m_items;
    if (!view)
        return QWidget::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == view && handleKey(key->key(), key->modifiers()))
            return true;
        break;
    }
    case QEvent::MouseButtonPress: {
        if (watched != view->viewport())
            break;
        auto* mouse = static_cast<QMouseEvent*>(event);
        handlePress(view, mouse->position().toPoint(), mouse->button());
        handleTipClick(view, mouse->position().toPoint(), mouse->buttons(), mouse->modifiers());
        view->setFocus(Qt::MouseFocusReason);
        return true;
    }
    case QEvent::MouseButtonDblClick: {
        if (watched != view->viewport())
            break;
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QModelIndex hit = view->indexAt(mouse->position().toPoint());
        if (mouse->button() == Qt::LeftButton && hit.isValid() && mayAsk())
            emit itemActivated(hit.row());
        return true;
    }
    case QEvent::MouseButtonRelease: {
        if (watched != view->viewport())
            break;
        auto* mouse = static_cast<QMouseEvent*>(event);
        // The button is held no more, but it is the one this release belongs to.
        handleTipClick(view, mouse->position().toPoint(), mouse->buttons() | mouse->button(), mouse->modifiers());
        return true;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace qb::ui
