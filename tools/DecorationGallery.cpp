// Renders every gradient effect and a set of decorated widgets into PNG files, so that changes to
// the painting can be looked at side by side: odz_decoration_gallery <folder>

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QStandardItemModel>
#include <QTextStream>
#include <cstdlib>
#include <functional>

#include "ZTCustomListView.h"
#include "ZTCustomTreeView.h"
#include "ZTLabel.h"
#include "ZTPanel.h"

namespace {

using namespace odz;

// A small picture to tile, centre and stretch: a checker with a ring, on a corner colour that the
// transparent flag takes out.
QPixmap SamplePicture() {
    QImage image(48, 36, QImage::Format_RGB32);
    image.fill(qRgb(255, 0, 255));
    // Without smoothing: a blended edge pixel would not match the corner colour.
    QPainter canvas(&image);
    canvas.fillRect(QRect(4, 4, 20, 14), QColor(250, 220, 120));
    canvas.fillRect(QRect(24, 18, 20, 14), QColor(250, 220, 120));
    canvas.setPen(QPen(QColor(30, 90, 40), 3));
    canvas.drawEllipse(QRect(12, 6, 24, 24));
    return QPixmap::fromImage(image);
}

class TGallery {
public:
    explicit TGallery(const QString& folder) : FFolder(folder) {}

    bool Save(const QString& name, const QImage& image) {
        const QString path = FFolder.filePath(name + ".png");
        if (!image.save(path)) {
            QTextStream(stderr) << "Cannot write " << path << "\n";
            return false;
        }
        ++FWritten;
        return true;
    }
    bool SaveWidget(const QString& name, QWidget& widget) {
        widget.setAttribute(Qt::WA_DontShowOnScreen);
        widget.show();
        QCoreApplication::processEvents();
        return Save(name, widget.grab().toImage());
    }
    int Written() const { return FWritten; }

private:
    QDir FFolder;
    int FWritten = 0;
};

bool RenderEffects(TGallery& gallery) {
    bool ok = true;
    for (int effect = 0; effect < kBackEffectCount; ++effect) {
        QImage image(240, 160, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter canvas(&image);
            PaintGradient(TBackEffect(effect), clNavy, RGBColor(250, 220, 120), canvas, image.rect());
        }
        ok = gallery.Save(QString("effect-%1-%2")
                              .arg(effect, 2, 10, QChar('0'))
                              .arg(BackEffectName(TBackEffect(effect))),
                          image) &&
             ok;
    }
    return ok;
}

void FillModel(QStandardItemModel& model, int rows) {
    model.setHorizontalHeaderLabels({"Name", "Size", "Type"});
    for (int i = 0; i < rows; ++i)
        model.appendRow({new QStandardItem(QString("Tệp văn bản %1.txt").arg(i + 1)),
                         new QStandardItem(QString("%1 KB").arg((i * 37) % 900 + 1)),
                         new QStandardItem("Text Document")});
}

bool RenderViews(TGallery& gallery) {
    bool ok = true;
    QStandardItemModel model;
    FillModel(model, 40);
    const QPixmap picture = SamplePicture();

    const auto list = [&](const QString& name, const std::function<void(TZTCustomListView&)>& set) {
        TZTCustomListView view;
        view.setModel(&model);
        view.resize(320, 220);
        set(view);
        ok = gallery.SaveWidget(name, view) && ok;
    };
    list("listview-gradient", [](TZTCustomListView& v) { v.SetBackEffect(gdTopToBottom); });
    list("listview-icons-ellipse", [](TZTCustomListView& v) {
        v.setViewMode(QListView::IconMode);
        v.SetBackEffect(gdEllipseOut);
        v.SetColorBegin(RGBColor(250, 250, 230));
        v.SetColorEnd(RGBColor(120, 160, 220));
    });
    list("listview-tiled-transparent", [&](TZTCustomListView& v) {
        v.SetBackPict(picture);
        v.SetImageMode(imTiled);
        v.SetITransparent(true);
        v.SetColor(RGBColor(230, 240, 255));
    });
    list("listview-centred-over-gradient", [&](TZTCustomListView& v) {
        v.SetBackPict(picture);
        v.SetImageMode(imCentered);
        v.SetBackEffect(gdQRecIn);
    });

    const auto tree = [&](const QString& name, const std::function<void(TZTCustomTreeView&)>& set) {
        TZTCustomTreeView view;
        view.setModel(&model);
        view.resize(360, 220);
        set(view);
        ok = gallery.SaveWidget(name, view) && ok;
    };
    tree("treeview-stretch-ratio", [&](TZTCustomTreeView& v) {
        v.SetBackPict(picture);
        v.SetImageMode(imStretchRatio);
        v.SetBackEffect(gdLeftToRight);
    });
    tree("treeview-details-scrolled", [&](TZTCustomTreeView& v) {
        v.SetBackEffect(gdDRecHorOut);
        v.SetColorBegin(RGBColor(255, 255, 240));
        v.SetColorEnd(RGBColor(150, 190, 240));
        v.SetScrollingBackground(true);
        v.setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
        v.scrollTo(model.index(12, 0), QAbstractItemView::PositionAtTop);
    });
    tree("treeview-stretched", [&](TZTCustomTreeView& v) {
        v.SetBackPict(picture);
        v.SetImageMode(imStretched);
    });
    return ok;
}

bool RenderPanelsAndLabels(TGallery& gallery) {
    bool ok = true;
    const QPixmap picture = SamplePicture();
    const auto panel = [&](const QString& name, QSize size, const std::function<void(TZTPanel&)>& set) {
        TZTPanel p;
        p.resize(size);
        QFont font = p.font();
        font.setPointSize(14);
        font.setBold(true);
        p.setFont(font);
        set(p);
        ok = gallery.SaveWidget(name, p) && ok;
    };
    panel("panel-gradient-raised-caption", QSize(300, 90), [](TZTPanel& p) {
        p.SetColor(clNavy);
        p.SetColorEnd(clBlue);
        p.SetGradient(gdHorzIn);
        p.SetCaption("Mã nguồn");
        p.SetTextEffect(teRaised);
        p.SetShadowColor(clBlack);
        p.SetBevelInner(bvLowered);
        p.SetBevelWidth(2);
        p.SetBorderWidth(2);
        QPalette palette = p.palette();
        palette.setColor(QPalette::WindowText, Qt::white);
        p.setPalette(palette);
    });
    panel("panel-lower-right-shadow", QSize(300, 70), [](TZTPanel& p) {
        p.SetCaption("Chuyển đổi mã");
        p.SetTextEffect(teLowerRightShadow);
        p.SetAlignment(taLeftJustify);
        p.SetVertAlign(ZtBottom);
    });
    panel("panel-rotated-up", QSize(80, 220), [](TZTPanel& p) {
        p.SetGradient(gdVertOut);
        p.SetColor(RGBColor(255, 240, 200));
        p.SetColorEnd(RGBColor(200, 120, 40));
        p.SetCaption("Source");
        p.SetTextRotation(TrUp);
        p.SetTextEffect(teUpperRightShadow);
    });
    panel("panel-rotated-down", QSize(80, 220), [](TZTPanel& p) {
        p.SetCaption("Target");
        p.SetTextRotation(TrDown);
        p.SetBevelOuter(bvLowered);
        p.SetBeveltopcolor(clRed);
        p.SetBevelBotColor(clYellow);
        p.SetBevelWidth(3);
    });
    panel("panel-tiled-picture", QSize(260, 120), [&](TZTPanel& p) {
        p.SetPicture(picture);
        p.SetTransparent(true);
        p.SetImageMode(imTiled);
        p.SetGradient(gdEllipseIn);
        p.SetCaption("Tiled");
        p.SetTextEffect(teEmbossed);
        p.SetShadowColor(clWhite);
    });

    const auto label = [&](const QString& name, const std::function<void(TZTLabel&)>& set) {
        TZTLabel l;
        QFont font = l.font();
        font.setPointSize(16);
        l.setFont(font);
        set(l);
        ok = gallery.SaveWidget(name, l) && ok;
    };
    label("label-shadow-left-top", [](TZTLabel& l) {
        l.SetShadowColor(clGray);
        l.SetShadowSize(2);
        l.SetCaption("&Thư mục nguồn");
    });
    label("label-shadow-right-bottom", [](TZTLabel& l) {
        l.SetShadowColor(clNavy);
        l.SetShadowPos(spRightBottom);
        l.SetShadowSize(3);
        l.SetColor(RGBColor(255, 250, 220));
        l.SetCaption("Bảng mã đích");
    });
    label("label-disabled", [](TZTLabel& l) {
        l.SetShadowSize(0);
        l.SetCaption("Disabled label");
        l.setEnabled(false);
    });
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    // Nothing is shown on screen; without a display, draw off screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        QTextStream(stderr) << "Usage: odz_decoration_gallery <folder>\n"
                               "Writes every gradient effect and the decorated widgets as PNG files.\n";
        return 2;
    }
    const QString folder = arguments[1];
    if (!QDir().mkpath(folder)) {
        QTextStream(stderr) << "Cannot create the folder " << folder << "\n";
        return 1;
    }
    TGallery gallery(folder);
    bool ok = RenderEffects(gallery);
    ok = RenderViews(gallery) && ok;
    ok = RenderPanelsAndLabels(gallery) && ok;
    QTextStream(stdout) << gallery.Written() << " pictures written to " << QDir(folder).absolutePath()
                        << "\n";
    return ok ? 0 : 1;
}
