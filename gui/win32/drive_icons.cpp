#include "gui/win32/drive_icons.h"

#include "inventory/drive_row.h"

namespace tw::gui {

namespace {

constexpr COLORREF kTransparent = RGB(255, 0, 255);

// Draws in a 16-unit square placed at (left, 0) and scaled to the image size.
class Painter {
public:
    Painter(HDC dc, int left, int size) : dc_(dc), left_(left), size_(size) {}

    int X(int units) const { return left_ + MulDiv(units, size_, 16); }
    int Y(int units) const { return MulDiv(units, size_, 16); }

    void Box(int l, int t, int r, int b, COLORREF fill, COLORREF edge) {
        Shape(fill, edge, [&] { Rectangle(dc_, X(l), Y(t), X(r), Y(b)); });
    }
    void Ellipse(int l, int t, int r, int b, COLORREF fill, COLORREF edge) {
        Shape(fill, edge, [&] { ::Ellipse(dc_, X(l), Y(t), X(r), Y(b)); });
    }
    void Fill(int l, int t, int r, int b, COLORREF colour) {
        RECT rc{X(l), Y(t), X(r), Y(b)};
        if (rc.right <= rc.left) rc.right = rc.left + 1;
        if (rc.bottom <= rc.top) rc.bottom = rc.top + 1;
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc_, &rc, brush);
        DeleteObject(brush);
    }
    void Line(int x1, int y1, int x2, int y2, COLORREF colour, int width) {
        HPEN pen = CreatePen(PS_SOLID, width * size_ / 16 > 0 ? width * size_ / 16 : 1, colour);
        HGDIOBJ old = SelectObject(dc_, pen);
        MoveToEx(dc_, X(x1), Y(y1), nullptr);
        LineTo(dc_, X(x2), Y(y2));
        SelectObject(dc_, old);
        DeleteObject(pen);
    }

private:
    template <typename F>
    void Shape(COLORREF fill, COLORREF edge, F draw) {
        HBRUSH brush = CreateSolidBrush(fill);
        HPEN pen = CreatePen(PS_SOLID, 1, edge);
        HGDIOBJ oldBrush = SelectObject(dc_, brush);
        HGDIOBJ oldPen = SelectObject(dc_, pen);
        draw();
        SelectObject(dc_, oldBrush);
        SelectObject(dc_, oldPen);
        DeleteObject(brush);
        DeleteObject(pen);
    }

    HDC dc_;
    int left_;
    int size_;
};

constexpr COLORREF kCase = RGB(200, 200, 200);
constexpr COLORREF kEdge = RGB(80, 80, 80);
constexpr COLORREF kLamp = RGB(0, 170, 0);
constexpr COLORREF kWire = RGB(40, 70, 160);

void DrawLocal(Painter& p) {
    p.Box(1, 5, 15, 12, kCase, kEdge);
    p.Fill(3, 7, 9, 8, RGB(150, 150, 150));
    p.Fill(11, 8, 13, 10, kLamp);
}

void DrawNetwork(Painter& p, COLORREF wire) {
    p.Box(1, 2, 15, 9, kCase, kEdge);
    p.Fill(11, 5, 13, 7, kLamp);
    p.Line(8, 9, 8, 13, wire, 2);
    p.Line(2, 14, 14, 14, wire, 2);
}

void DrawOptical(Painter& p) {
    p.Ellipse(1, 1, 15, 15, RGB(215, 220, 235), RGB(90, 90, 120));
    p.Ellipse(3, 3, 13, 13, RGB(190, 205, 240), RGB(190, 205, 240));
    p.Ellipse(6, 6, 10, 10, kTransparent, RGB(90, 90, 120));
}

void DrawRemovable(Painter& p) {
    p.Box(4, 2, 12, 15, RGB(70, 110, 190), RGB(30, 50, 110));
    p.Fill(6, 3, 10, 7, RGB(235, 235, 235));
    p.Fill(6, 11, 10, 13, RGB(30, 50, 110));
}

void DrawDisconnected(Painter& p) {
    DrawNetwork(p, RGB(120, 120, 120));
    p.Line(9, 8, 15, 14, RGB(210, 0, 0), 2);
    p.Line(15, 8, 9, 14, RGB(210, 0, 0), 2);
}

}  // namespace

HIMAGELIST CreateDriveImageList(int size) {
    constexpr int kCount = 6;
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, kCount, 0);
    if (!list) return nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP strip = CreateCompatibleBitmap(screen, size * kCount, size);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, strip);
    RECT all{0, 0, size * kCount, size};
    HBRUSH back = CreateSolidBrush(kTransparent);
    FillRect(dc, &all, back);
    DeleteObject(back);

    auto at = [&](int index) { return Painter(dc, index * size, size); };
    {
        Painter p = at(inventory::kImageLocal);
        DrawLocal(p);
    }
    {
        Painter p = at(inventory::kImageNetwork);
        DrawNetwork(p, kWire);
    }
    {
        Painter p = at(inventory::kImageOptical);
        DrawOptical(p);
    }
    {
        Painter p = at(inventory::kImageRemovable);
        DrawRemovable(p);
    }
    {
        Painter p = at(4);  // no row kind uses it; a plain drive keeps the strip whole
        DrawLocal(p);
    }
    {
        Painter p = at(inventory::kImageDisconnected);
        DrawDisconnected(p);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    ImageList_AddMasked(list, strip, kTransparent);
    DeleteObject(strip);
    return list;
}

}  // namespace tw::gui
