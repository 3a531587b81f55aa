#include "explorer/ui/ReportLog.h"

#include "explorer/ui/Icons.h"

#include <QHeaderView>
#include <QPainter>
#include <QTextDocument>

namespace qb::ui {

ReportModel::ReportModel(QObject* parent) : QAbstractTableModel(parent) {}

QString ReportModel::kindText(int kind)
{
    switch (kind) {
    case Error:
        return QStringLiteral("  Error:");
    case Information:
        return QStringLiteral("  Information:");
    default:
        return QString();
    }
}

QString ReportModel::timeText(const QDateTime& when)
{
    return when.toString(QStringLiteral("MM.dd.yyyy hh:mm:ss:zzz"));
}

void ReportModel::addEntry(const QString& text, int kind, const QDateTime& when)
{
    beginInsertRows(QModelIndex(), 0, 0);
    m_entries.push_back(Entry{kind, timeText(when), text});
    endInsertRows();
}

int ReportModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

int ReportModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant ReportModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_entries.size()))
        return QVariant();
    const Entry& e = m_entries[m_entries.size() - 1 - size_t(index.row())];
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case TypeColumn:
            return kindText(e.kind);
        case TimeColumn:
            return e.time;
        case DescriptionColumn:
            return e.text;
        }
    }
    // The whole text of a long entry; tooltips guess at markup, so the text goes in escaped.
    if (role == Qt::ToolTipRole && index.column() == DescriptionColumn)
        return Qt::convertFromPlainText(e.text, Qt::WhiteSpaceNormal);
    if (role == Qt::DecorationRole && index.column() == TypeColumn) {
        const QIcon icon = reportKindIcon(e.kind);
        return icon.isNull() ? QVariant() : QVariant(icon);
    }
    return QVariant();
}

QVariant ReportModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case TypeColumn:
        return QStringLiteral("Type");
    case TimeColumn:
        return QStringLiteral("Time");
    case DescriptionColumn:
        return QStringLiteral("Description");
    default:
        return QVariant();
    }
}

ReportView::ReportView(QWidget* parent) : QTableView(parent), m_model(new ReportModel(this))
{
    setModel(m_model);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setStretchLastSection(true);
    // The widths of a small 8-point face (70 and 145 pixels), widened to what this font needs.
    const QFontMetrics fm = fontMetrics();
    const int padding = 16;
    setColumnWidth(ReportModel::TypeColumn,
                   std::max(70, fm.horizontalAdvance(ReportModel::kindText(ReportModel::Information)) + 16 + 2 * padding));
    setColumnWidth(ReportModel::TimeColumn, std::max(145, fm.horizontalAdvance(QStringLiteral("00.00.0000 00:00:00:000")) + padding));
    setColumnWidth(ReportModel::DescriptionColumn, 425);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setStyles(false, true);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, [this] {
        // The newest entry is row 0; it becomes the selection mark, shown at once.
        setCurrentIndex(m_model->index(0, 0));
        scrollToTop();
        viewport()->repaint();
    });
}

void ReportView::setStyles(bool grid, bool fullRow)
{
    setShowGrid(grid);
    setSelectionBehavior(fullRow ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    viewport()->update();
}

QString ReportView::emptyText()
{
    return QStringLiteral("There are no items in report window");
}

void ReportView::paintEvent(QPaintEvent* event)
{
    QTableView::paintEvent(event);
    if (m_model->rowCount() > 0)
        return;
    QPainter painter(viewport());
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(14);
    painter.setFont(font);
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect area = viewport()->rect().adjusted(4, 6, -4, 0);
    painter.drawText(area, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, emptyText());
}

} // namespace qb::ui
