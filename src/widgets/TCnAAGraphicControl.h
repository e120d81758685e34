#pragma once

#include "framework/Inherited.h"
#include "framework/WindowlessControl.h"
#include "widgets/aa/TCnAAFont.h"

#include <QString>

#include <memory>

namespace widgets {

using framework::TColor;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum class TDragKind { dkDrag, dkDock };
enum class TDragMode { dmManual, dmAutomatic };

inline constexpr int crDrag = -12;

class TCnAAGraphicControl;

// A group of the control's own settings, published together; it stores nothing itself.
class TCnPackParam {
public:
  explicit TCnPackParam(TCnAAGraphicControl &owner) : m_owner(owner) {}
  TCnPackParam(const TCnPackParam &) = delete;
  TCnPackParam &operator=(const TCnPackParam &) = delete;

protected:
  TCnAAGraphicControl &m_owner;
};

class TCnDrag : public TCnPackParam {
public:
  using TCnPackParam::TCnPackParam;
  TDragKind DragKind() const;
  void SetDragKind(TDragKind value);
  int DragCursor() const;
  void SetDragCursor(int value);
  TDragMode DragMode() const;
  void SetDragMode(TDragMode value);
};

class TCnParentEffect : public TCnPackParam {
public:
  using TCnPackParam::TCnPackParam;
  bool ParentColor() const;
  void SetParentColor(bool value);
  bool ParentFont() const;
  void SetParentFont(bool value);
  bool ParentShowHint() const;
  void SetParentShowHint(bool value);
};

// The base of the anti-aliased controls: a text engine bound to the canvas of each rendering, and
// the rules for when a change redraws. Nothing redraws before the control is ready (loading has
// ended or the first paint came), while it loads or goes away, while automatic refresh is off or
// while an update lock is held.
class TCnAAGraphicControl : public framework::WindowlessControl,
                            public framework::HintProperties<TCnAAGraphicControl> {
  Q_OBJECT
public:
  explicit TCnAAGraphicControl(QWidget *parent = nullptr);
  ~TCnAAGraphicControl() override;

  TCnDrag &Drag() { return m_drag; }
  TCnParentEffect &ParentEffect() { return m_parentEffect; }
  aa::TCnAAFontEx &AAFont() { return m_aaFont; }
  const aa::TCnAAFontEx &AAFont() const { return m_aaFont; }

  const QString &Caption() const { return m_caption; }
  void SetCaption(const QString &value);
  // Replaces the framework's setter: an own font also ends following the parent's.
  void SetFont(const framework::FontDesc &value);
  bool AutoSize() const { return m_autoSize; }
  void SetAutoSize(bool value);
  TAlign Align() const { return m_align; }
  void SetAlign(TAlign value);
  // The parent's colour while ParentColor is on; setting a colour turns it off.
  TColor Color() const;
  void SetColor(TColor value);
  bool ParentColor() const { return framework::FollowsParentColor(*this); }
  void SetParentColor(bool value);
  bool ParentFont() const { return framework::FollowsParentFont(*this); }
  // True takes the parent's font again.
  void SetParentFont(bool value);
  const QString &Hint() const { return m_hint; }
  void SetHint(const QString &value);
  TDragKind DragKind() const { return m_dragKind; }
  void SetDragKind(TDragKind value) { m_dragKind = value; }
  int DragCursor() const { return m_dragCursor; }
  void SetDragCursor(int value) { m_dragCursor = value; }
  TDragMode DragMode() const { return m_dragMode; }
  void SetDragMode(TDragMode value) { m_dragMode = value; }

  void SetBounds(int left, int top, int width, int height) override;

  bool Ready() const { return m_ready; }
  bool AutoRefresh() const { return m_autoRefresh; }
  void SetAutoRefresh(bool value) { m_autoRefresh = value; }
  // Changes inside an update lock do not redraw; the last EndUpdate does once.
  void BeginUpdate() { ++m_updateCount; }
  void EndUpdate();
  int UpdateCount() const { return m_updateCount; }

  // Refreshes when the control is ready and nothing holds refreshing back.
  void RefreshIfReady();
  void Loaded() override;

protected:
  virtual void AfterLoading() { RefreshIfReady(); }
  virtual void DoRefresh() { Invalidate(); }
  void Render(framework::Canvas &) override {}
  bool Painting() const { return m_painting; }
  // Paints what lies beneath the control: the parent and the siblings below it.
  void PaintBeneath(framework::Canvas &canvas);
  // Runs before each paint renders; a control that renders every paint marks itself stale here.
  virtual void BeforePaint() {}

  void paintEvent(QPaintEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;
  bool event(QEvent *event) override;
  void changeEvent(QEvent *event) override;

private:
  void nameChanged(const QString &name);
  // A hidden widget hears of its new size only when shown; the size counts when it is set.
  void sizeSeen();
  // Takes the font now shown (the parent's while following it) and redraws if it changed.
  void fontShown();

  TCnDrag m_drag{*this};
  TCnParentEffect m_parentEffect{*this};
  aa::TCnAAFontEx m_aaFont;

  QString m_caption;
  QString m_name;
  bool m_autoSize = true;
  TAlign m_align = TAlign::alNone;
  // The colour as set, system colours unresolved; shown while ParentColor is off.
  TColor m_color = framework::clBtnFace;
  QString m_hint;
  TDragKind m_dragKind = TDragKind::dkDrag;
  int m_dragCursor = crDrag;
  TDragMode m_dragMode = TDragMode::dmManual;

  bool m_ready = false;
  bool m_autoRefresh = true;
  int m_updateCount = 0;
  bool m_painting = false;
  bool m_destroying = false;
  int m_lastWidth = 0;
  int m_lastHeight = 0;
};

} // namespace widgets
