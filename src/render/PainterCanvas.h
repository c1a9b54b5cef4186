#pragma once
// A Canvas that draws real lines and real text through a QPainter, for vector surfaces
// (SVG, PDF) and the printer. Positions are GDI's pixel grid taken as units: a line
// covers the pixels GDI would paint (the first, not the last) as a one-unit-wide
// stroke, so the picture scales with whatever transform the painter carries.

#include "render/Canvas.h"

#include <QColor>
#include <QFont>

#include <string>
#include <unordered_map>

class QPainter;

class PainterCanvas final : public Canvas {
public:
    // Saves the painter's state and restores it when the canvas goes away.
    explicit PainterCanvas(QPainter& painter);
    ~PainterCanvas() override;
    PainterCanvas(const PainterCanvas&) = delete;
    PainterCanvas& operator=(const PainterCanvas&) = delete;

    void setPenColor(uint32_t rgb) override;
    void setPenStyle(PenStyle style) override;
    void setBrushColor(uint32_t rgb) override;
    void setBrushStyle(BrushStyle style) override;
    void setFont(const FontDesc& font) override;

    void moveTo(int32_t x, int32_t y) override;
    void lineTo(int32_t x, int32_t y) override;
    CanvasPoint penPosition() const override { return pen_; }

    void polygon(std::span<const CanvasPoint> points) override;

    void textOut(int32_t x, int32_t y, const std::string& cp932) override;
    void textRect(const CanvasRect& clip, int32_t x, int32_t y, const std::string& cp932) override;
    void drawText(const std::string& cp932, const CanvasRect& rect, unsigned flags) override;

private:
    struct Text {
        QString string;
        int width = 0;
    };
    const Text& prepare(const std::string& cp932);
    void putText(const Text& text, int32_t x, int32_t y, const CanvasRect* clip);

    QPainter& painter_;
    CanvasPoint pen_;
    QColor penColor_{Qt::black};
    PenStyle penStyle_ = PenStyle::Solid;
    QColor brushColor_{Qt::white};
    BrushStyle brushStyle_ = BrushStyle::Solid;
    FontDesc fontDesc_;
    QFont font_;
    QColor textColor_{Qt::black};
    int ascent_ = 0;
    int height_ = 0;
    std::unordered_map<std::string, Text> texts_;  // of the current font
};
