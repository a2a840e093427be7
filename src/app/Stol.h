#pragma once
// The axis choice form "Wybór Osi Pomiarowej": before each line of a flatness map the inspector
// picks the line to measure on a picture of the machine table (measured lines green, the chosen
// one thick red) or in the list of line names. Where the lines run and how they are drawn comes
// from app/TableLines.h.
#include <QPixmap>
#include <cstdint>
#include <functional>
#include <vector>

#include "app/TableLines.h"
#include "foundations/FR_Utils.h"

class QFrame;
class QLabel;
class QPushButton;
class TRadioGroup;

// The picture of the table: shows the form's bitmap; a left click picks a line.
class TTablePaintBox : public QWidget {
    Q_OBJECT
public:
    explicit TTablePaintBox(QWidget* parent = nullptr);
    QPixmap bitmap;

signals:
    void leftPressed(QPoint at);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
};

class TWyborOsi : public TSSForm {
    Q_OBJECT
public:
    static constexpr int HelpContext = 125;

    explicit TWyborOsi(QWidget* parent = nullptr);

    // Creates the form, shows it modally and frees it: the chosen line (1-based) on OK, else -1.
    // An initial line that is not a line of the layout selects line 1; a layout without lines
    // returns -1 at once.
    static int Execute(int horizontalLines, int verticalLines, uint16_t measuredMask, bool gridMode,
                       int initialLine, QWidget* parent = nullptr);

    // Tests answer the form in place of the user: the hook gets the form, set up as when shown,
    // and returns its dialog result (QDialog::Accepted or Rejected). An empty hook shows the form.
    using ExecuteHook = std::function<int(TWyborOsi&)>;
    static void setExecuteHook(ExecuteHook hook);

    // What the form is called with; FormShow builds the list and the picture from it.
    void Setup(int horizontalLines, int verticalLines, uint16_t measuredMask, bool gridMode, int initialLine);

    void FormShow();
    void RadioGroupOsieClick();
    void PaintBox1MouseDown(QPoint at);
    void BitBtnOkClick();
    void BitBtnPomocClick();

    int SelectedLine() const { return selected_; }
    const tablelines::Layout& Layout() const { return layout_; }
    const std::vector<tablelines::Segment>& Lines() const { return lines_; }

    TTablePaintBox* PaintBox1;
    TRadioGroup* RadioGroupOsie;
    QLabel* PanelLaser;
    QFrame* ShapeLaser;
    QPushButton* BitBtnOk;
    QPushButton* BitBtnCancel;
    QPushButton* BitBtnPomoc;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Paints the whole table into the bitmap: every line, the chosen one last so it lies on top.
    void DrawTable();

    tablelines::Layout layout_;
    uint16_t measured_ = 0;
    int initial_ = 1;
    int selected_ = 1;
    std::vector<tablelines::Segment> lines_;
};
