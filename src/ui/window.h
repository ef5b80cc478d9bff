// Window: the base of every window, dialog box, page and control. A window
// object exists before its platform window: it is constructed, its
// description is read (LoadDescription or ReadDescription), it is attached
// to a parent and then created, children with it. Destroying the platform
// window leaves the object, which may be created again.
//
// Subclasses (controls, dialog boxes, pages, the installer's windows)
// override the virtual operations; where they extend one, they call the
// base first. Commands reach OnCommand: a command carries the WindowId of
// the button or shortcut that sent it (compare with WindowIdOf(u"NameCmd")).
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"
#include "ui/color.h"
#include "ui/font.h"
#include "ui/geometry.h"
#include "ui/ui_platform.h"
#include "ui/window_id.h"

namespace vorn {

class XmlElement;
class WindowAttributes;
class ShortcutTable;
class TooltipControl;

// One platform message as the window procedure hands it over (on Windows
// the window handle, message number, wParam and lParam). `result` is what
// the window procedure returns when the message is handled.
struct WindowMessage {
  void* handle = nullptr;
  uint32_t message = 0;
  uintptr_t wparam = 0;
  intptr_t lparam = 0;
  intptr_t result = 0;
};

// Class codes, set by each class in its constructor; FindChild can ask for one.
enum WindowClassCode : uint32_t {
  kWindowClassPlain = 0,
  kWindowClassDockWindow = 5,
  kWindowClassPage = 7,
  kWindowClassButton = 8,
  kWindowClassComboBox = 9,
  kWindowClassControlBar = 10,
  kWindowClassEditBox = 11,
  kWindowClassGroupBox = 12,
  kWindowClassHintControl = 13,
  kWindowClassListView = 14,
  kWindowClassPicture = 15,
  kWindowClassProgressBar = 16,
  kWindowClassPropertySheet = 17,
  kWindowClassRichEdit = 18,
  kWindowClassSeparator = 19,
  kWindowClassSlider = 20,
  kWindowClassStatic = 21,
  kWindowClassStatusBar = 22,
  kWindowClassTabControl = 23,
  kWindowClassToolBar = 24,
  kWindowClassTooltip = 25,
  kAnyWindowClass = 0xFFFFFFFF,
};

// Style bits of the platform's encoding that the window logic reads.
enum WindowStyleBits : uint32_t {
  kStylePopup = 0x80000000,
  kStyleChild = 0x40000000,
  kStyleVisible = 0x10000000,
  kStyleDisabled = 0x08000000,
  kStyleClipSiblings = 0x04000000,
  kStyleClipChildren = 0x02000000,
  kStyleCaption = 0x00C00000,
  kStyleBorder = 0x00800000,
  kStyleSystemMenu = 0x00080000,
  kStyleSizingFrame = 0x00040000,
  kStyleGroup = 0x00020000,
  kStyleMinimizeBox = 0x00020000,
  kStyleMaximizeBox = 0x00010000,
  kStyleTabStop = 0x00010000,
  kExStyleDialogModalFrame = 0x00000001,
  kExStyleAcceptFiles = 0x00000010,
  kExStyleToolWindow = 0x00000080,
  kExStyleWindowEdge = 0x00000100,
  kExStyleClientEdge = 0x00000200,
  kExStyleControlParent = 0x00010000,
  kExStyleStaticEdge = 0x00020000,
  kExStyleAppWindow = 0x00040000,
  kExStyleLayered = 0x00080000,
};

inline constexpr uint32_t kDefaultWindowStyle = 0x56000000;
inline constexpr uint32_t kMaxDependents = 32;
// Descriptions nested deeper than this are refused (the platform limits how
// deep child windows nest long before).
inline constexpr uint32_t kMaxDescriptionDepth = 200;

class Window {
 public:
  Window() noexcept;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // ---- Identity and tree ----
  WindowId Id() const noexcept { return id_; }
  void SetId(WindowId id) noexcept;
  uint32_t ClassCode() const noexcept { return class_code_; }
  Window* Parent() const noexcept { return parent_; }
  Window* FirstChild() const noexcept { return first_child_; }
  Window* NextSibling() const noexcept { return next_sibling_; }
  uint32_t ChildCount() const noexcept { return child_count_; }
  // Moves the object under `parent` (null: none): appended at the end, a
  // status bar first. Re-parents the platform window when both exist,
  // releases this window's geometry references and lays it out again.
  void Attach(Window* parent) noexcept;
  // Direct children first, then each child's subtree in list order; with a
  // class code, a window of another class counts as not found.
  Window* FindChild(WindowId id, uint32_t class_code = kAnyWindowClass) const noexcept;
  // The first direct child with the identifier (what sibling references
  // resolve to); indexed for windows with many children.
  Window* FirstChildWithId(WindowId id) noexcept;
  // Whether the parent deletes this object with itself (children made from
  // a description; others that the caller hands over).
  bool OwnedByParent() const noexcept { return owned_by_parent_; }
  void SetOwnedByParent(bool owned) noexcept { owned_by_parent_ = owned; }
  bool CreatedFromDescription() const noexcept { return created_from_description_; }
  // The window whose background shows through this one (a tab control for
  // its pages); a window with an owner leaves closing to it.
  Window* Owner() const noexcept { return owner_; }
  void SetOwner(Window* owner) noexcept { owner_ = owner; }

  // ---- Descriptions ----
  // Finds the element of this class's type name with that "ID" through the
  // resource manager and reads it. 15 when there is none.
  Result LoadDescription(const char16_t* name) noexcept;
  // The attribute table, then one child per child element. The first
  // failure ends the reading; what was read before keeps its effect.
  virtual Result ReadDescription(const XmlElement* element) noexcept;
  // The "Type" attribute: "MainWindow", "MainDialogBox" or "ClientWindow"
  // for the base; 5 for anything else.
  virtual Result ReadType(const char16_t* type) noexcept;
  // The element name that descriptions of this class have.
  virtual const char16_t* TypeName() const noexcept { return u"Window"; }
  // The window-type table: a new child object for the element name, or 39.
  virtual Result CreateChild(const char16_t* element_name, Window*& child) noexcept;

  // ---- Geometry ----
  GeometryConstraint& Constraint(Edge edge) noexcept { return constraints_[EdgeIndex(edge)]; }
  const GeometryConstraint& Constraint(Edge edge) const noexcept {
    return constraints_[EdgeIndex(edge)];
  }
  int32_t Value(Edge edge) const noexcept { return Constraint(edge).value; }
  // A reference with factor 1.0 (`which` numbered as Edge; others ignored).
  // A reference to the parent's Top, Left, Bottom or Right is refused and
  // leaves the constraint reset.
  void SetConstraint(uint32_t which, WindowId reference, ConstraintKind kind, int32_t pixels,
                     int32_t dialog_units) noexcept;
  // A constant that keeps the current value until the next layout.
  void SetConstant(uint32_t which, int32_t pixels, int32_t dialog_units = 0) noexcept;
  // Whether an extent is given: `size` itself, or both `start` and `end`.
  bool ExtentDetermined(Edge size, Edge start, Edge end) const noexcept;
  // Runs the layout, then lays out the dependents of every window that
  // moved, without recursion.
  void Layout() noexcept;
  // The base units for this window's own dialog-unit values: a child uses
  // its parent's, a top-level window its own.
  DialogBaseUnits ConversionUnits() const noexcept;
  DialogBaseUnits BaseUnits() const noexcept { return base_units_; }
  void SetBaseUnits(DialogBaseUnits units) noexcept { base_units_ = units; }
  void AddDependent(Window* window) noexcept;
  void RemoveDependent(Window* window) noexcept;
  uint32_t DependentCount() const noexcept { return dependent_count_; }
  uint32_t DependentUses(const Window* window) const noexcept;
  // Takes the eight values from the window's rectangles and remembers the
  // normal placement (what the platform's position-change report does).
  void RefreshGeometry(const WindowRects& rects, bool minimized, bool maximized) noexcept;

  // ---- Styles and appearance ----
  uint32_t Style() const noexcept { return style_; }
  uint32_t ExStyle() const noexcept { return ex_style_; }
  void SetStyle(uint32_t style) noexcept { style_ = style; }
  void SetExStyle(uint32_t ex_style) noexcept { ex_style_ = ex_style; }
  const Color& BackgroundColor() const noexcept { return background_; }
  const Color& GradientColor() const noexcept { return gradient_; }
  uint32_t GradientMode() const noexcept { return gradient_mode_; }
  // "Transparent" also removes clip-children from the ancestors up to the
  // first one with an opaque background of its own.
  void SetBackgroundColor(const Color& color) noexcept;
  const FontList* Font() const noexcept { return font_list_; }
  void SetFont(const FontList& font) noexcept;
  bool FocusAllowed() const noexcept { return focus_allowed_; }
  bool DoubleBuffered() const noexcept { return double_buffered_; }
  bool CloseDisabled() const noexcept { return close_disabled_; }
  bool HandCursor() const noexcept { return hand_cursor_; }
  int32_t HorizontalRedraw() const noexcept { return horizontal_redraw_; }
  int32_t VerticalRedraw() const noexcept { return vertical_redraw_; }
  bool EraseOnRedraw() const noexcept { return erase_on_redraw_; }
  bool IsMainWindowType() const noexcept { return main_window_type_; }
  bool IsMainDialogBox() const noexcept { return main_dialog_box_; }
  bool IsClientWindow() const noexcept { return client_window_; }
  bool IsDialog() const noexcept { return is_dialog_; }
  bool WrapsPlatformControl() const noexcept { return wraps_platform_control_; }
  bool FollowsParentEnabled() const noexcept { return follows_parent_enabled_; }
  void SetFollowsParentEnabled(bool follows) noexcept { follows_parent_enabled_ = follows; }
  bool StartMaximized() const noexcept { return start_maximized_; }
  ShortcutTable* Shortcuts() const noexcept { return shortcuts_; }
  const String& PositionKey() const noexcept;

  // ---- Texts ----
  const String& Title() const noexcept { return title_; }
  void SetTitle(const String& title) noexcept;
  // The title, or the document name, "* - " or " - ", and the title.
  String TitleText() const noexcept;
  void SetDocumentName(const String& name) noexcept;
  void SetDocumentModified(bool modified) noexcept;
  const String& Tooltip() const noexcept { return tooltip_; }
  // A non-empty tooltip registers the window with its parent's tooltip
  // control (made on first use); an empty one removes it.
  void SetTooltip(const String& text) noexcept;
  // The tooltip of the first direct child with that identifier that has one.
  String ChildTooltip(WindowId id) const noexcept;
  TooltipControl* Tooltips() const noexcept { return tooltip_control_; }

  // ---- The platform window ----
  void* Handle() const noexcept { return handle_; }
  bool Exists() const noexcept { return handle_ != nullptr; }
  // Creates the platform window and its children: 14 when it already
  // exists, 7 when the platform refuses. `parent` gives the platform parent
  // (the owner of a popup) without changing the tree; null takes the tree
  // parent.
  Result Create(Window* parent) noexcept;
  void Destroy() noexcept;
  // The platform's close request.
  void Close() noexcept;
  // Handles one message; false sends it to the default procedure.
  virtual bool HandleMessage(WindowMessage& message) noexcept;
  // A queued platform message before it is dispatched; true when consumed.
  virtual bool PreTranslate(void* platform_message) noexcept;
  // A command (code 0: click or menu, 1: shortcut key). The base passes it
  // on to the parent; a handler returns true when it took it.
  virtual bool OnCommand(WindowId command, uint32_t code, Window* sender) noexcept;
  // Draws the update rectangle (into the off-screen buffer when double
  // buffered). The base draws nothing.
  virtual void Paint(void* device_context, int32_t left, int32_t top, int32_t right,
                     int32_t bottom) noexcept {}
  // Brings the window to the top, restores it, and optionally its last
  // active popup to the foreground.
  void Activate(bool with_popup) noexcept;
  void SetOpacity(float opacity, bool force = false) noexcept;
  void Show(bool visible) noexcept;
  void Enable(bool enabled) noexcept;
  // Posts a command (code 0, no sender) to this window; it arrives through
  // the message queue like a click.
  void PostCommand(WindowId command) noexcept;
  // The background brush for painting behind a child (a platform brush):
  // the own one, else the parent's.
  virtual void* BackgroundBrush() noexcept;
  // Applies the title text to the platform window.
  void ApplyTitle() noexcept;

  // ---- Tree-wide operations ----
  virtual bool CanClose() noexcept;
  virtual bool MayClose() noexcept;
  virtual Result FrameUpdate(float elapsed) noexcept;
  virtual void ApplicationStarted() noexcept;
  virtual bool OpenFiles(const String* paths, uint32_t count) noexcept;
  virtual void Navigate(const char16_t* address) noexcept;

  // The window object of a platform window (null for windows of others).
  static Window* FromHandle(void* handle) noexcept;
  // The toolkit's window procedure, after the handle was bound.
  intptr_t DispatchPlatformMessage(uint32_t message, uintptr_t wparam, intptr_t lparam) noexcept;
  // Binds a new platform window to this object (its first message).
  void BindHandle(void* handle) noexcept { handle_ = handle; }

 protected:
  // ---- Hooks for subclasses ----
  virtual void PreLayout() noexcept {}
  virtual void PostLayout() noexcept {}
  // The on-create step's extra work (after the children exist).
  virtual Result OnCreated() noexcept { return kOk; }
  // The platform window is going away (before the children's).
  virtual void OnDestroying() noexcept {}
  virtual void OnActivate(uint32_t state) noexcept {}
  virtual void OnActivateApplication(bool active) noexcept {}
  // The base destroys the platform window when MayClose agrees.
  virtual void OnClose() noexcept;
  // The platform window is gone (the final message); the base saves the
  // placement.
  virtual void OnFinalDestroy() noexcept;

  void SetClassCode(uint32_t code) noexcept { class_code_ = code; }
  void SetIsDialog(bool dialog) noexcept { is_dialog_ = dialog; }
  void SetWrapsPlatformControl(bool wraps) noexcept { wraps_platform_control_ = wraps; }
  // A wrapped control that the toolkit paints (through Paint) instead of
  // the platform control's own procedure.
  void SetToolkitPaints(bool paints) noexcept { toolkit_paints_ = paints; }
  // The platform class of a wrapped control ("Button", "Static", ...).
  void SetPlatformClass(const char16_t* name) noexcept { platform_class_ = name; }
  const char16_t* PlatformClass() const noexcept { return platform_class_; }
  // Messages the base does not handle go here (the platform's default
  // window procedure, dialog procedure or the control's own procedure).
  intptr_t CallDefault(WindowMessage& message) noexcept;
  // The platform part of the window's creation and message handling.
  Result CreatePlatformWindow(Window* parent) noexcept;
  Result RunOnCreateStep() noexcept;

  // Platform resources, owned by the window (handles on Windows).
  void* default_procedure_ = nullptr;

 private:
  friend class WindowLayoutQueue;

  void Unlink() noexcept;
  void DropChildIndex() noexcept;
  void PlatformReparent() noexcept;
  void RefreshFromLayout() noexcept;
  // Platform helpers (Windows).
  Result RegisterPlatformClass(const char16_t*& class_name) noexcept;
  void ApplySystemMenu() noexcept;
  void ApplyFont() noexcept;
  void KeepOnScreen() noexcept;
  void CenterOnParent() noexcept;
  void BuildBackgroundBrush() noexcept;
  void FreeBackgroundBrush() noexcept;
  void ResizeBuffer(int32_t width, int32_t height) noexcept;
  void FreeBuffer() noexcept;
  void OnPositionChanged() noexcept;
  bool HandlePaint() noexcept;
  bool HandleEraseBackground(void* device_context) noexcept;
  void HandleDestroy() noexcept;
  intptr_t HandleFinalDestroy(WindowMessage& message) noexcept;
  bool HandleNotify(WindowMessage& message) noexcept;
  bool HandleDroppedFiles(WindowMessage& message) noexcept;
  bool ReflectToChild(void* child_handle, WindowMessage& message) noexcept;
  bool IsApplicationMainWindow() const noexcept;
  void InsertInto(Window* parent) noexcept;
  void ForgetReferencesTo(const Window* window) noexcept;
  void ReleaseReferences() noexcept;
  void DeleteOwnedChildren() noexcept;
  Result ReadAttributes(const XmlElement& element, bool& stop) noexcept;
  Result ReadGeometry(const WindowAttributes& attributes) noexcept;
  Result ReadChildren(const XmlElement& element) noexcept;
  void LoadPlacement() noexcept;
  void SavePlacement() noexcept;
  Result ApplyTypeMainWindow(bool dialog_box) noexcept;
  void ClearAncestorsClipChildren() noexcept;
  // The layout proper (one window).
  void LayOutOnce() noexcept;
  void EvaluateConstraint(Edge edge) noexcept;
  Window* ResolveReference(GeometryConstraint& constraint) noexcept;
  int32_t ReferenceQuantity(const Window* reference, ConstraintKind kind) const noexcept;
  void LayOutDependents() noexcept;
  uint32_t Depth() const noexcept;

  // Tree
  Window* parent_ = nullptr;
  Window* first_child_ = nullptr;
  Window* last_child_ = nullptr;
  Window* next_sibling_ = nullptr;
  Window* previous_sibling_ = nullptr;
  uint32_t child_count_ = 0;
  Window* owner_ = nullptr;
  // Open-addressed table of the children by identifier (first one wins),
  // built on demand and dropped whenever the child list changes.
  Window** child_index_ = nullptr;
  uint32_t child_index_mask_ = 0;

  // Identity and styles
  WindowId id_;
  uint32_t class_code_ = kWindowClassPlain;
  uint32_t style_ = kDefaultWindowStyle;
  uint32_t ex_style_ = 0;
  const char16_t* platform_class_ = nullptr;

  // Appearance
  Color background_ = Color::NotSet();
  Color gradient_ = Color::NotSet();
  uint32_t gradient_mode_ = 0;
  int32_t horizontal_redraw_ = 0;
  int32_t vertical_redraw_ = 0;
  FontList* font_list_ = nullptr;  // own font, when the description gives one
  DialogBaseUnits base_units_;
  float opacity_ = 1.0f;
  uint32_t applied_alpha_ = 255;

  // Texts
  String title_;
  String tooltip_;
  // Texts few windows have, kept out of the object to keep it small (a page
  // of controls is thousands of these).
  struct RareTexts {
    String document_name;
    String position_key;
  };
  RareTexts* rare_ = nullptr;
  RareTexts* Rare() noexcept;

  // Geometry
  GeometryConstraint constraints_[kEdgeCount];
  struct Dependent {
    Window* window;
    uint32_t count;
  };
  // Grown on demand up to kMaxDependents entries (most windows have none).
  Dependent* dependents_ = nullptr;
  uint32_t dependent_count_ = 0;
  uint32_t dependent_capacity_ = 0;
  Window* next_queued_ = nullptr;
  uint32_t queue_visits_ = 0;
  uint32_t queue_generation_ = 0;
  int32_t normal_left_ = 0;
  int32_t normal_top_ = 0;
  int32_t normal_width_ = 640;
  int32_t normal_height_ = 480;

  // Children and helpers
  ShortcutTable* shortcuts_ = nullptr;
  TooltipControl* tooltip_control_ = nullptr;

  // Platform state (handles on Windows)
  void* handle_ = nullptr;
  void* font_handle_ = nullptr;
  bool owns_font_handle_ = false;
  void* background_brush_ = nullptr;
  void* buffer_bitmap_ = nullptr;
  void* buffer_context_ = nullptr;
  int32_t buffer_width_ = 0;
  int32_t buffer_height_ = 0;
  uint32_t system_menu_removals_ = 0;
  Result create_result_ = kOk;

  // Flags
  bool owned_by_parent_ = false;
  bool created_from_description_ = false;
  bool is_dialog_ = false;
  bool wraps_platform_control_ = false;
  bool toolkit_paints_ = false;
  bool follows_parent_enabled_ = false;
  bool laying_out_ = false;
  bool start_maximized_ = false;
  bool maximized_ = false;
  bool minimized_ = false;
  bool normal_position_known_ = false;
  bool normal_size_known_ = false;
  bool main_window_type_ = false;
  bool main_dialog_box_ = false;
  bool client_window_ = false;
  bool close_disabled_ = false;
  bool focus_allowed_ = true;
  bool double_buffered_ = false;
  bool erase_on_redraw_ = false;
  bool hand_cursor_ = false;
  bool document_modified_ = false;
  bool queued_ = false;
  bool tearing_down_ = false;
};

}  // namespace vorn
