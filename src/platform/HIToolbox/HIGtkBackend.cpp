// The GTK 3 back end: widgets that show the control tree and feed a person's input back
// through the toolbox's HIPerform... calls.
#include "HIObjects.h"
#include <HIToolbox/Appearance.h>
#include <HIToolbox/HIBackend.h>
#include <HIToolbox/HIGtkBackend.h>
#include <HIToolbox/HISimulation.h>

#include <CarbonCore/SysBeep.h>
#include <CoreFoundation/CFRunLoop.h>

#include <gtk/gtk.h>
#include <gtk/gtkx.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <string>

namespace {

struct GtkWin {
    GtkWidget* top = nullptr;
    GtkWidget* fixed = nullptr;
    bool drawn = false;
    bool taken = false; // the content lives in a host's widget; the toplevel stays hidden
};

struct GtkCtl {
    GtkWidget* widget = nullptr;
    GtkListStore* store = nullptr; // popups: title, sensitive
    GtkWidget* shadow = nullptr;   // radio buttons: an unseen partner that is on when it is off
    GtkWidget* combo = nullptr;    // popups: the menu beside the title label
    GtkWidget* label = nullptr;    // popups: the title
    bool syncing = false;
    std::string fontClass;
};

GtkWin* Win(WindowRef w) { return static_cast<GtkWin*>(w->backendData); }
GtkCtl* Ctl(ControlRef c) { return static_cast<GtkCtl*>(c->backendData); }

/// Pixel font sizes: never wider than the theme metrics (average advance about 0.55 em
/// against the metrics' 0.6 em).
const char kCss[] =
    "* { font-family: \"DejaVu Sans\", Sans; }\n"
    "window, .pg-fixed { background-color: #ececec; }\n"
    "button { min-height: 0; min-width: 0; padding: 0 4px; }\n"
    "combobox button { padding: 0 2px 0 6px; }\n"
    "combobox arrow { min-height: 8px; min-width: 8px; }\n"
    "checkbutton, radiobutton { min-height: 0; padding: 0; }\n"
    "check, radio { min-height: 12px; min-width: 12px; margin: 0 5px 0 1px; }\n"
    "entry { min-height: 0; padding: 0 4px; }\n"
    "frame > label { margin: 0 4px; }\n";

std::string FontClass(ControlRef c) {
    int size = hi::ControlFontSize(c);
    if (size <= 0)
        size = 13;
    size = std::clamp(size, 6, 40);
    return "pg-s" + std::to_string(size);
}

void InstallCss() {
    std::string css = kCss;
    for (int size = 6; size <= 40; ++size)
        css += ".pg-s" + std::to_string(size) + " { font-size: " + std::to_string(size) + "px; }\n";
    GtkCssProvider* provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, css.c_str(), -1, nullptr);
    gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(provider),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
}

// ---- drawing of user panes ----------------------------------------------------------------

struct Pen {
    double r = 0, g = 0, b = 0;       // fore colour
    double br = 1, bg = 1, bb = 1;    // back colour
    Pattern pattern{{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}};
    int width = 1, height = 1;
    int mode = patCopy;
    double h = 0, v = 0;
};

void Source(cairo_t* cr, const Pen& pen) {
    bool solid = true;
    for (UInt8 row : pen.pattern.pat)
        solid = solid && row == 0xFF;
    if (solid) {
        cairo_set_source_rgb(cr, pen.r, pen.g, pen.b);
        return;
    }
    cairo_surface_t* tile = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 8);
    cairo_surface_flush(tile);
    auto* data = cairo_image_surface_get_data(tile);
    const int stride = cairo_image_surface_get_stride(tile);
    auto pixel = [](double r, double g, double b) {
        return 0xFF000000u | (static_cast<uint32_t>(r * 255) << 16) | (static_cast<uint32_t>(g * 255) << 8) |
               static_cast<uint32_t>(b * 255);
    };
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            bool on = (pen.pattern.pat[y] >> (7 - x)) & 1;
            reinterpret_cast<uint32_t*>(data + y * stride)[x] =
                on ? pixel(pen.r, pen.g, pen.b) : pixel(pen.br, pen.bg, pen.bb);
        }
    cairo_surface_mark_dirty(tile);
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(tile);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
    cairo_set_source(cr, pattern);
    cairo_pattern_destroy(pattern);
    cairo_surface_destroy(tile);
}

void Replay(cairo_t* cr, const std::vector<hi::DrawCommand>& commands) {
    Pen pen;
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    auto rect = [](const hi::DrawCommand& c) {
        return std::array<double, 4>{double(c.b), double(c.a), double(c.d - c.b), double(c.c - c.a)};
    };
    for (const hi::DrawCommand& c : commands) {
        if (c.op == "moveTo") {
            pen.h = c.a, pen.v = c.b;
        } else if (c.op == "lineTo") {
            // The QuickDraw pen hangs below and to the right of the path.
            Source(cr, pen);
            const double w = std::max(pen.width, pen.height);
            cairo_set_line_width(cr, w);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
            cairo_move_to(cr, pen.h + pen.width / 2.0, pen.v + pen.height / 2.0);
            cairo_line_to(cr, c.a + pen.width / 2.0, c.b + pen.height / 2.0);
            cairo_stroke(cr);
            pen.h = c.a, pen.v = c.b;
        } else if (c.op == "penSize") {
            pen.width = std::max(0, c.a), pen.height = std::max(0, c.b);
        } else if (c.op == "penPat") {
            pen.pattern = c.pattern;
        } else if (c.op == "penMode") {
            pen.mode = c.a;
        } else if (c.op == "penNormal") {
            Pen fresh;
            fresh.h = pen.h, fresh.v = pen.v;
            fresh.r = pen.r, fresh.g = pen.g, fresh.b = pen.b;
            pen = fresh;
        } else if (c.op == "foreColor") {
            pen.r = c.a / 65535.0, pen.g = c.b / 65535.0, pen.b = c.c / 65535.0;
        } else if (c.op == "backColor") {
            pen.br = c.a / 65535.0, pen.bg = c.b / 65535.0, pen.bb = c.c / 65535.0;
        } else {
            auto r = rect(c);
            if (c.op == "frameRect" || c.op == "frameOval") {
                Source(cr, pen);
                cairo_set_line_width(cr, std::max(pen.width, 1));
                if (c.op == "frameRect") {
                    cairo_rectangle(cr, r[0] + 0.5, r[1] + 0.5, r[2] - 1, r[3] - 1);
                } else {
                    cairo_save(cr);
                    cairo_translate(cr, r[0] + r[2] / 2, r[1] + r[3] / 2);
                    cairo_scale(cr, std::max(r[2] / 2, 0.5), std::max(r[3] / 2, 0.5));
                    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
                    cairo_restore(cr);
                }
                cairo_stroke(cr);
            } else if (c.op == "paintRect" || c.op == "paintOval" || c.op == "eraseRect" ||
                       c.op == "invertRect" || c.op == "fillRect") {
                cairo_save(cr);
                if (c.op == "fillRect") {
                    Pen filling = pen;
                    filling.pattern = c.pattern;
                    Source(cr, filling);
                } else if (c.op == "eraseRect")
                    cairo_set_source_rgb(cr, pen.br, pen.bg, pen.bb);
                else if (c.op == "invertRect")
                    cairo_set_source_rgb(cr, 1, 1, 1), cairo_set_operator(cr, CAIRO_OPERATOR_DIFFERENCE);
                else
                    Source(cr, pen);
                if (c.op == "paintOval") {
                    cairo_translate(cr, r[0] + r[2] / 2, r[1] + r[3] / 2);
                    cairo_scale(cr, std::max(r[2] / 2, 0.5), std::max(r[3] / 2, 0.5));
                    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
                } else {
                    cairo_rectangle(cr, r[0], r[1], r[2], r[3]);
                }
                cairo_fill(cr);
                cairo_restore(cr);
            }
        }
    }
}

gboolean OnPaneDraw(GtkWidget*, cairo_t* cr, gpointer data) {
    auto c = static_cast<ControlRef>(data);
    cairo_translate(cr, -c->bounds.left, -c->bounds.top);
    Replay(cr, c->drawing);
    return FALSE;
}

// ---- input ---------------------------------------------------------------------------------

void Sync(ControlRef c);

void OnClicked(GtkWidget*, gpointer data) {
    auto c = static_cast<ControlRef>(data);
    if (Ctl(c)->syncing)
        return;
    HIPerformClick(c);
    if (hi::IsLiveControl(c) && Ctl(c))
        Sync(c); // a handler that took the click leaves the value as it was
}

void OnComboChanged(GtkComboBox* combo, gpointer data) {
    auto c = static_cast<ControlRef>(data);
    if (Ctl(c)->syncing)
        return;
    const int active = gtk_combo_box_get_active(combo);
    if (active >= 0)
        HIPerformChoosePopupItem(c, static_cast<MenuItemIndex>(active + 1));
    if (hi::IsLiveControl(c) && Ctl(c))
        Sync(c);
}

/// A person's click or Tab into a text field moves the tree's keyboard focus there too.
gboolean OnEntryFocus(GtkWidget*, GdkEvent*, gpointer data) {
    auto c = static_cast<ControlRef>(data);
    if (hi::IsLiveControl(c) && c->window->focus != c)
        SetKeyboardFocus(c->window, c, kControlEditTextPart);
    return FALSE;
}

gboolean OnKey(GtkWidget* top, GdkEventKey* event, gpointer data) {
    auto w = static_cast<WindowRef>(data);
    if ((event->state & (GDK_CONTROL_MASK | GDK_MOD1_MASK)) != 0)
        return FALSE;
    GtkWidget* focusWidget = gtk_window_get_focus(GTK_WINDOW(top));
    ControlRef focus = focusWidget ? static_cast<ControlRef>(g_object_get_data(G_OBJECT(focusWidget), "pg-control")) : nullptr;
    if (focus && (!hi::IsLiveControl(focus) || focus->kind != kControlKindEditUnicodeText))
        focus = nullptr;
    std::string key;
    switch (event->keyval) {
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
        key = "\r";
        break;
    case GDK_KEY_Escape:
        key = "\x1b";
        break;
    case GDK_KEY_BackSpace:
        key = "\x08";
        break;
    default: {
        gunichar ch = gdk_keyval_to_unicode(event->keyval);
        if (ch == 0 || ch < 0x20 || focus == nullptr)
            return FALSE; // navigation and keys for other widgets stay GTK's
        char utf8[8] = {};
        g_unichar_to_utf8(ch, utf8);
        key = utf8;
    }
    }
    if (focus == nullptr && key == "\x08")
        return FALSE;
    if (focus)
        SetKeyboardFocus(w, focus, kControlEditTextPart);
    HIPerformKey(w, focus, key.c_str());
    if (focus && hi::IsLiveControl(focus) && Ctl(focus))
        Sync(focus);
    return TRUE;
}

/// The window's close box: a window-close event to the window, which stays open unless a
/// handler disposes of it.
gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer data) {
    auto w = static_cast<WindowRef>(data);
    EventRef e = nullptr;
    CreateEvent(nullptr, kEventClassWindow, kEventWindowClose, 0, 0, &e);
    SetEventParameter(e, kEventParamDirectObject, typeWindowRef, sizeof w, &w);
    SendEventToEventTarget(e, GetWindowEventTarget(w));
    ReleaseEvent(e);
    return TRUE;
}

gboolean OnFixedDraw(GtkWidget*, cairo_t*, gpointer data) {
    static_cast<GtkWin*>(data)->drawn = true;
    return FALSE;
}

// ---- widgets -------------------------------------------------------------------------------

void SetFontClass(ControlRef c) {
    GtkCtl* g = Ctl(c);
    std::string wanted = FontClass(c);
    if (wanted == g->fontClass)
        return;
    GtkStyleContext* style = gtk_widget_get_style_context(g->widget);
    if (!g->fontClass.empty())
        gtk_style_context_remove_class(style, g->fontClass.c_str());
    gtk_style_context_add_class(style, wanted.c_str());
    g->fontClass = wanted;
}

void SyncPopup(ControlRef c, GtkCtl* g) {
    MenuRef menu = c->menu;
    const size_t count = menu ? menu->items.size() : 0;
    bool same = static_cast<size_t>(gtk_tree_model_iter_n_children(GTK_TREE_MODEL(g->store), nullptr)) == count;
    GtkTreeIter iter;
    for (size_t i = 0; same && i < count; ++i) {
        gtk_tree_model_iter_nth_child(GTK_TREE_MODEL(g->store), &iter, nullptr, static_cast<int>(i));
        gchar* text = nullptr;
        gboolean sensitive = TRUE;
        gtk_tree_model_get(GTK_TREE_MODEL(g->store), &iter, 0, &text, 1, &sensitive, -1);
        same = text && hi::UTF8(menu->items[i].text) == text &&
               bool(sensitive) == (menu->items[i].enabled && menu->enabled);
        g_free(text);
    }
    if (!same) {
        gtk_list_store_clear(g->store);
        for (size_t i = 0; i < count; ++i) {
            gtk_list_store_append(g->store, &iter);
            gtk_list_store_set(g->store, &iter, 0, hi::UTF8(menu->items[i].text).c_str(), 1,
                               menu->items[i].enabled && menu->enabled, -1);
        }
    }
    const int active = (c->value >= 1 && static_cast<size_t>(c->value) <= count) ? c->value - 1 : -1;
    if (gtk_combo_box_get_active(GTK_COMBO_BOX(g->combo)) != active)
        gtk_combo_box_set_active(GTK_COMBO_BOX(g->combo), active);
    // The title takes what it needs on the left (in the theme metrics), the menu the rest.
    const std::string title = hi::UTF8(c->title);
    gtk_label_set_text(GTK_LABEL(g->label), title.c_str());
    gtk_widget_set_visible(g->label, !title.empty());
    int size = hi::ControlFontSize(c) > 0 ? hi::ControlFontSize(c) : 13;
    gtk_widget_set_size_request(g->label, HIThemeTextWidth(c->title, static_cast<SInt16>(size)), -1);
    // The title's justification in its box (the theme metrics are wider than GTK's text).
    const int just = (c->font.flags & kControlUseJustMask) ? int(c->font.just) : int(teFlushDefault);
    gtk_label_set_xalign(GTK_LABEL(g->label), just == teCenter ? 0.5f : just == teFlushRight ? 1.0f : 0.0f);
}

void Sync(ControlRef c) {
    GtkCtl* g = Ctl(c);
    if (g == nullptr || g->widget == nullptr)
        return;
    GtkWin* win = Win(c->window);
    if (win == nullptr)
        return;
    g->syncing = true;
    const Rect& b = c->bounds;
    gtk_fixed_move(GTK_FIXED(win->fixed), g->widget, b.left, b.top);
    gtk_widget_set_size_request(g->widget, std::max(1, b.right - b.left), std::max(1, b.bottom - b.top));
    SetFontClass(c);
    const std::string title = hi::UTF8(c->title);
    switch (c->kind) {
    case kControlKindPushButton:
        gtk_button_set_label(GTK_BUTTON(g->widget), title.c_str());
        break;
    case kControlKindCheckBox:
    case kControlKindRadioButton:
        gtk_button_set_label(GTK_BUTTON(g->widget), title.c_str());
        gtk_toggle_button_set_inconsistent(GTK_TOGGLE_BUTTON(g->widget), c->value == kControlCheckBoxMixedValue);
        if (c->value == 0 && g->shadow)
            gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(g->shadow), TRUE);
        else
            gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(g->widget), c->value != 0);
        break;
    case kControlKindPopupButton:
        SyncPopup(c, g);
        break;
    case kControlKindStaticText: {
        GtkLabel* label = GTK_LABEL(g->widget);
        gtk_label_set_text(label, hi::UTF8(c->text).c_str());
        const int just = (c->font.flags & kControlUseJustMask) ? int(c->font.just) : int(teFlushDefault);
        gtk_label_set_xalign(label, just == teCenter ? 0.5f : just == teFlushRight ? 1.0f : 0.0f);
        // A wrapping label's natural width is its whole text on one line, and the fixed
        // container (and the window) would grow to it: no wider than the characters its bounds
        // hold in the theme metrics, so that its natural size stays within the bounds.
        const int size = hi::ControlFontSize(c) > 0 ? hi::ControlFontSize(c) : 13;
        gtk_label_set_max_width_chars(label, std::max(1, (b.right - b.left) / ((6 * size + 5) / 10)));
        break;
    }
    case kControlKindEditUnicodeText: {
        const std::string text = hi::UTF8(c->text);
        if (text != gtk_entry_get_text(GTK_ENTRY(g->widget))) {
            gtk_entry_set_text(GTK_ENTRY(g->widget), text.c_str());
            gtk_editable_set_position(GTK_EDITABLE(g->widget), -1);
        }
        // The tree's keyboard focus is the window's GTK focus.
        if (c->window->focus == c && !gtk_widget_has_focus(g->widget))
            gtk_widget_grab_focus(g->widget);
        break;
    }
    case kControlKindGroupBox:
        gtk_frame_set_label(GTK_FRAME(g->widget), title.empty() ? nullptr : title.c_str());
        break;
    case kControlKindChasingArrows:
        gtk_spinner_start(GTK_SPINNER(g->widget));
        break;
    default:
        break;
    }
    gtk_widget_set_sensitive(g->widget, IsControlEnabled(c));
    gtk_widget_set_visible(g->widget, IsControlVisible(c));
    if (c->kind == kControlKindUserPane)
        gtk_widget_queue_draw(g->widget);
    g->syncing = false;
}

GtkWidget* MakeWidget(ControlRef c, GtkCtl* g) {
    switch (c->kind) {
    case kControlKindPushButton: {
        GtkWidget* w = gtk_button_new_with_label("");
        g_signal_connect(w, "clicked", G_CALLBACK(OnClicked), c);
        return w;
    }
    case kControlKindCheckBox:
    case kControlKindRadioButton: {
        // Radio buttons stand alone: the tree, not GTK, keeps one on per group. GTK never
        // turns off a radio button alone in its group, so each has an unseen partner.
        GtkWidget* w = nullptr;
        if (c->kind == kControlKindCheckBox) {
            w = gtk_check_button_new_with_label("");
        } else {
            g->shadow = g_object_ref_sink(gtk_radio_button_new(nullptr));
            w = gtk_radio_button_new_with_label_from_widget(GTK_RADIO_BUTTON(g->shadow), "");
        }
        g_signal_connect(w, "clicked", G_CALLBACK(OnClicked), c);
        return w;
    }
    case kControlKindPopupButton: {
        g->store = gtk_list_store_new(2, G_TYPE_STRING, G_TYPE_BOOLEAN);
        g->combo = gtk_combo_box_new_with_model(GTK_TREE_MODEL(g->store));
        GtkCellRenderer* cell = gtk_cell_renderer_text_new();
        gtk_cell_layout_pack_start(GTK_CELL_LAYOUT(g->combo), cell, TRUE);
        gtk_cell_layout_set_attributes(GTK_CELL_LAYOUT(g->combo), cell, "text", 0, "sensitive", 1, nullptr);
        g_signal_connect(g->combo, "changed", G_CALLBACK(OnComboChanged), c);
        g->label = gtk_label_new("");
        gtk_label_set_xalign(GTK_LABEL(g->label), 0.0f);
        GtkWidget* box = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
        gtk_box_pack_start(GTK_BOX(box), g->label, FALSE, FALSE, 0);
        gtk_box_pack_start(GTK_BOX(box), g->combo, TRUE, TRUE, 0);
        gtk_widget_show(g->combo);
        return box;
    }
    case kControlKindStaticText: {
        GtkWidget* w = gtk_label_new("");
        gtk_label_set_yalign(GTK_LABEL(w), 0.0f);
        gtk_label_set_line_wrap(GTK_LABEL(w), TRUE);
        return w;
    }
    case kControlKindEditUnicodeText: {
        GtkWidget* w = gtk_entry_new();
        g_signal_connect(w, "focus-in-event", G_CALLBACK(OnEntryFocus), c);
        return w;
    }
    case kControlKindGroupBox:
        return gtk_frame_new(nullptr);
    case kControlKindSeparator: {
        const bool vertical = (c->bounds.bottom - c->bounds.top) > (c->bounds.right - c->bounds.left);
        return gtk_separator_new(vertical ? GTK_ORIENTATION_VERTICAL : GTK_ORIENTATION_HORIZONTAL);
    }
    case kControlKindChasingArrows:
        return gtk_spinner_new();
    case kControlKindUserPane: {
        GtkWidget* w = gtk_drawing_area_new();
        g_signal_connect(w, "draw", G_CALLBACK(OnPaneDraw), c);
        return w;
    }
    default:
        return nullptr;
    }
}

// ---- the back end ----------------------------------------------------------------------------

void SyncTree(ControlRef c) {
    hi::Walk(c, [](ControlRef each) { Sync(each); });
}

void PlaceWindow(WindowRef w) {
    GtkWin* win = Win(w);
    const int width = w->bounds.right - w->bounds.left, height = w->bounds.bottom - w->bounds.top;
    gtk_widget_set_size_request(win->fixed, std::max(1, width), std::max(1, height));
    gtk_window_resize(GTK_WINDOW(win->top), std::max(1, width), std::max(1, height));
    gtk_window_move(GTK_WINDOW(win->top), w->bounds.left, w->bounds.top);
}

class GtkBackend final : public HIBackend {
public:
    const char* name() const override { return "gtk"; }

    void windowCreated(WindowRef w) override {
        auto* win = new GtkWin;
        w->backendData = win;
        win->top = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        gtk_window_set_resizable(GTK_WINDOW(win->top), FALSE);
        win->fixed = gtk_fixed_new();
        gtk_style_context_add_class(gtk_widget_get_style_context(win->fixed), "pg-fixed");
        gtk_container_add(GTK_CONTAINER(win->top), win->fixed);
        gtk_widget_show(win->fixed);
        g_signal_connect(win->top, "delete-event", G_CALLBACK(OnDelete), w);
        g_signal_connect(win->top, "key-press-event", G_CALLBACK(OnKey), w);
        g_signal_connect_after(win->fixed, "draw", G_CALLBACK(OnFixedDraw), win);
        if (w->windowClass == kSheetWindowClass || w->windowClass == kDrawerWindowClass ||
            w->windowClass == kMovableModalWindowClass || w->windowClass == kModalWindowClass)
            gtk_window_set_type_hint(GTK_WINDOW(win->top), GDK_WINDOW_TYPE_HINT_DIALOG);
        PlaceWindow(w);
        windowChanged(w);
    }

    void windowChanged(WindowRef w) override {
        GtkWin* win = Win(w);
        if (win == nullptr)
            return;
        gtk_window_set_title(GTK_WINDOW(win->top), hi::UTF8(w->title).c_str());
        PlaceWindow(w);
        if (win->taken)
            return;
        if (w->visible && !gtk_widget_get_visible(win->top)) {
            if (w->sheetParent && Win(w->sheetParent)) {
                // A sheet: a modal dialog attached to its parent, at the parent's top.
                gtk_window_set_transient_for(GTK_WINDOW(win->top), GTK_WINDOW(Win(w->sheetParent)->top));
                gtk_window_set_modal(GTK_WINDOW(win->top), TRUE);
            }
            win->drawn = false;
            gtk_widget_show(win->top);
            gtk_window_present(GTK_WINDOW(win->top));
        } else if (!w->visible && gtk_widget_get_visible(win->top)) {
            gtk_widget_hide(win->top);
            gtk_window_set_modal(GTK_WINDOW(win->top), FALSE);
            gtk_window_set_transient_for(GTK_WINDOW(win->top), nullptr);
        }
    }

    void windowDisposing(WindowRef w) override {
        GtkWin* win = Win(w);
        if (win == nullptr)
            return;
        // Controls go with the toplevel; their records are freed as they are disposed.
        hi::Walk(w->root, [](ControlRef c) {
            if (GtkCtl* g = Ctl(c)) {
                if (g->combo)
                    g_signal_handlers_disconnect_matched(g->combo, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr, c);
                if (g->widget)
                    g_signal_handlers_disconnect_matched(g->widget, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr, c);
                g->widget = g->combo = nullptr;
            }
        });
        if (win->taken) {
            gtk_widget_destroy(win->fixed);
            g_object_unref(win->fixed);
        }
        gtk_widget_destroy(win->top);
        delete win;
        w->backendData = nullptr;
    }

    void controlCreated(ControlRef c) override {
        GtkWin* win = Win(c->window);
        if (win == nullptr || c->kind == kControlKindRoot)
            return;
        auto* g = new GtkCtl;
        c->backendData = g;
        g->widget = MakeWidget(c, g);
        if (g->widget == nullptr)
            return;
        g_object_set_data(G_OBJECT(g->widget), "pg-control", c);
        gtk_fixed_put(GTK_FIXED(win->fixed), g->widget, c->bounds.left, c->bounds.top);
        Sync(c);
    }

    void controlChanged(ControlRef c) override {
        if (Ctl(c) == nullptr || Ctl(c)->syncing)
            return;
        // Visibility and enabling pass down to what a control holds.
        SyncTree(c);
    }

    void controlDisposing(ControlRef c) override {
        GtkCtl* g = Ctl(c);
        if (g == nullptr)
            return;
        if (g->combo)
            g_signal_handlers_disconnect_matched(g->combo, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr, c);
        if (g->widget) {
            g_signal_handlers_disconnect_matched(g->widget, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr, c);
            gtk_widget_destroy(g->widget);
        }
        if (g->store)
            g_object_unref(g->store);
        if (g->shadow)
            g_object_unref(g->shadow);
        delete g;
        c->backendData = nullptr;
    }

    bool waitForEvents(double seconds) override {
        if (CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, true) == kCFRunLoopRunHandledSource)
            return true;
        bool fired = false;
        guint timer = 0;
        if (seconds >= 0)
            timer = g_timeout_add(std::max<guint>(1, static_cast<guint>(seconds * 1000)),
                                  [](gpointer p) -> gboolean {
                                      *static_cast<bool*>(p) = true;
                                      return G_SOURCE_REMOVE;
                                  },
                                  &fired);
        g_main_context_iteration(nullptr, TRUE);
        if (timer && !fired)
            g_source_remove(timer);
        return CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, true) == kCFRunLoopRunHandledSource;
    }
};

GtkBackend* gGtk = nullptr;

void Beep(short) {
    if (GdkDisplay* display = gdk_display_get_default())
        gdk_display_beep(display);
}

void WakeGtk(void*) { g_main_context_wakeup(nullptr); }

} // namespace

bool HIGtkInstall(int* argc, char*** argv) {
    if (gGtk)
        return true;
    if (!gtk_init_check(argc, argv))
        return false;
    InstallCss();
    gGtk = new GtkBackend;
    HISetBackend(gGtk);
    SetSysBeepHandler(Beep);
    _CFRunLoopSetWakeUpHook(CFRunLoopGetMain(), WakeGtk, nullptr);
    return true;
}

bool HIGtkIsInstalled() { return gGtk != nullptr; }

void HIGtkRunFor(double seconds) { RunCurrentEventLoop(seconds); }

bool HIGtkWaitUntilShown(WindowRef window, double seconds) {
    if (!gGtk || !hi::IsLiveWindow(window) || Win(window) == nullptr)
        return false;
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::milliseconds(static_cast<long>(seconds * 1000));
    while (Clock::now() < end) {
        GtkWin* win = Win(window);
        if (win->drawn && gtk_widget_get_mapped(win->taken ? win->fixed : win->top)) {
            // One more pass so that every child has drawn too.
            while (gtk_events_pending())
                gtk_main_iteration_do(FALSE);
            return true;
        }
        RunCurrentEventLoop(0.02);
    }
    return false;
}

OSStatus HIGtkWriteScreenshot(WindowRef window, const char* pngPath) {
    if (!gGtk || !hi::IsLiveWindow(window) || Win(window) == nullptr || pngPath == nullptr)
        return paramErr;
    GtkWidget* fixed = Win(window)->fixed;
    if (!gtk_widget_get_realized(fixed))
        return paramErr;
    const int width = gtk_widget_get_allocated_width(fixed), height = gtk_widget_get_allocated_height(fixed);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0xEC / 255.0, 0xEC / 255.0, 0xEC / 255.0);
    cairo_paint(cr);
    gtk_widget_draw(fixed, cr);
    cairo_destroy(cr);
    cairo_status_t status = cairo_surface_write_to_png(surface, pngPath);
    cairo_surface_destroy(surface);
    return status == CAIRO_STATUS_SUCCESS ? OSStatus(noErr) : OSStatus(ioErr);
}

bool HIGtkWindowGeometry(WindowRef window, unsigned long* xid, int* x, int* y) {
    if (!gGtk || !hi::IsLiveWindow(window) || Win(window) == nullptr)
        return false;
    GtkWin* win = Win(window);
    GtkWidget* toplevel = win->taken ? gtk_widget_get_toplevel(win->fixed) : win->top;
    GdkWindow* top = gtk_widget_get_window(toplevel);
    GdkWindow* content = gtk_widget_get_window(win->fixed);
    if (top == nullptr || content == nullptr || !gtk_widget_get_mapped(toplevel))
        return false;
    if (xid)
        *xid = GDK_WINDOW_XID(top);
    int ox = 0, oy = 0;
    gdk_window_get_origin(content, &ox, &oy);
    GtkAllocation a;
    gtk_widget_get_allocation(win->fixed, &a);
    if (x)
        *x = ox + a.x;
    if (y)
        *y = oy + a.y;
    return true;
}

GtkWidget* HIGtkTakeWindowContent(WindowRef window) {
    if (!gGtk || !hi::IsLiveWindow(window) || Win(window) == nullptr)
        return nullptr;
    GtkWin* win = Win(window);
    if (!win->taken) {
        // Kept alive by this reference until the window is disposed, whoever holds it then.
        g_object_ref(win->fixed);
        gtk_widget_hide(win->top);
        gtk_container_remove(GTK_CONTAINER(win->top), win->fixed);
        gtk_widget_set_size_request(win->fixed, window->bounds.right - window->bounds.left,
                                    window->bounds.bottom - window->bounds.top);
        win->taken = true;
    }
    return win->fixed;
}
