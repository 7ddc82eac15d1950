#pragma once

#include "app/MyCitiesRows.h"

#include <QWidget>
#include <string>
#include <vector>

namespace olv {

// The small window the tray icon shows on a left click: every My City with its temperature
// and conditions, on a pale yellow ground with every second row banded white. A click on it,
// or the mouse moving over it, closes it.
class THintForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFirstRow = 12;
    static constexpr int kRowPitch = 15;
    static constexpr int kCityX = 4;
    static constexpr int kTemperatureX = 105;
    static constexpr int kConditionsX = 145;
    static constexpr int kScreenMargin = 40;

    struct Row {
        int Y = 0;
        bool Band = false;       // the second, fourth, ... row
        std::string City;        // the caption up to its first comma
        std::string Temperature; // with the degree sign, at least five characters
        std::string Conditions;
    };

    explicit THintForm(QWidget* parent = nullptr);

    static std::vector<Row> Layout(const std::vector<MyCitiesRow>& cities);
    // The height for a number of rows: the position after the last row + 5.
    static int HeightFor(size_t rowCount);
    // Top-left corner at the mouse, kept 40 pixels inside the screen.
    static QPoint Place(const QPoint& mouse, const QSize& size, const QRect& screen);

    void Fill(const std::vector<MyCitiesRow>& cities);
    const std::vector<Row>& Rows() const { return rows_; }
    void ShowAt(const QPoint& mouse);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(class QMouseEvent* event) override;
    void mouseMoveEvent(class QMouseEvent* event) override;

private:
    std::vector<Row> rows_;
};

} // namespace olv
