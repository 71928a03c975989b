#pragma once

#include <QString>

// The AADT bar chart as its rules drive it: one series of bars and a title.
class AadtChartView
{
public:
    enum class BarColour
    {
        Red,
        Yellow
    };

    virtual ~AadtChartView() = default;

    virtual void clearBars() = 0;
    // Adds a bar in the series colour, without a label.
    virtual void addBar(double value) = 0;
    virtual int barCount() const = 0;
    virtual double barValue(int index) const = 0;
    virtual void setBarColour(int index, BarColour colour) = 0;
    virtual void setTitle(const QString& title) = 0;
    virtual void takeFocus() = 0;
};
