#pragma once
// GrZozn: the read-only list of catalog entries. Its highlighted row is always
// the memory table's current record: clicks and keys move the table's cursor,
// and the list follows every change of the table.

#include <QTableView>

class CatalogModel;
class QScrollBar;

class CatalogGrid : public QTableView {
    Q_OBJECT
  public:
    CatalogGrid(CatalogModel* model, QWidget* parent);

    // Rows that fit the list's height entirely (at least 1).
    int VisibleRowCount() const;
    // Index of the record shown in the top row (0-based), 0 when empty.
    int TopRow() const;
    // Row of the current record (0-based), -1 without one.
    int CurrentRow() const;

    // Column widths and row heights from the list's font and the fields'
    // display widths; called again when the font changes.
    void ApplyMetrics();

    // The vertical scroll bar the user sees stands for the current record: its
    // range runs from 1 to RecordTotal, its position is CursorPosition. The
    // view's own bar, out of sight, still scrolls the rows.
    QScrollBar* RecordScrollBar() const { return recordBar_; }

  signals:
    // A double click in the list; on a data row, after that row became current.
    void RowDoubleClicked();
    // Enter or Return pressed while the list had the focus. A press that went
    // to another control first (the selector's popup picking a source, after
    // which the load moves the focus here) does not count.
    void EnterPressed();

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;

  private:
    // Clicks and drags on the vertical scroll bar move the current record too.
    void ScrollBarAction(int action);
    void TableChanging(bool moveOnly);
    void TableChanged(bool moveOnly);
    // Shows the current record's row highlighted, scrolling as little as possible.
    void FollowCursor();
    // Makes the record at a 0-based row current.
    void MoveToRow(int row);
    void ScrollToTop(int row);
    void UpdateRecordBar();
    // The record bar over the right edge of the titles and rows; the columns
    // can scroll out from under it.
    void PlaceRecordBar();

    CatalogModel* model_;
    QScrollBar* recordBar_;
    int screenRow_ = -1; // screen row of the highlighted record before a change
    int wheelAngle_ = 0; // wheel turn not yet worth a whole step, in eighths of a degree
    // The list was asked about the Enter being pressed, so the press began here.
    bool enterPressedHere_ = false;
};
