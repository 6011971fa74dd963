// qvxclientui-widgetdoc TEMPLATE MANPAGE APPDEFAULTS: writes the app-defaults file and the man
// page (the template with its widget hierarchy filled in) from the dialogs' widget tables and
// the widget classes' own resource lists. Needs no display; runs at build time.
#include "ui/DialogLayouts.h"
#include "ui/KeyboardFocus.h"
#include "ui/ToolkitContext.h"

#include <X11/IntrinsicP.h>
#include <X11/StringDefs.h>
#include <X11/Xaw/AsciiSink.h>
#include <X11/Xaw/AsciiSrc.h>
#include <X11/Xaw/MultiSink.h>
#include <X11/Xaw/MultiSrc.h>
#include <X11/Xaw/Scrollbar.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr const char* kHierarchyMarker = ".\\\" widget hierarchy";
constexpr const char* kKeysMarker = ".\\\" key translations";

// The keys of each kind of control, by the class an administrator names them under.
struct KeyResource {
  const char* widgetClass;
  const char* translations;
};
constexpr KeyResource kKeyResources[] = {{"Command", KeyboardFocus::kButtonKeys},
                                         {"List", KeyboardFocus::kListKeys}};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// What an administrator can change without touching behaviour: looks, never texts or layout
// that the code computes.
constexpr const char* kAppearanceResources[] = {
    "background",    "foreground",    "borderColor",    "borderWidth",     "font",
    "fontSet",       "internalWidth", "internalHeight", "defaultDistance", "leftMargin",
    "rightMargin",   "topMargin",     "bottomMargin",   "thickness",       "minimumThumb",
    "columnSpacing", "rowSpacing",    "cursorColor"};

std::string ClassName(WidgetClass widgetClass) { return widgetClass->core_class.class_name; }

// A widget the toolkit makes inside one of the table's widgets.
struct InnerWidget {
  const char* name;
  std::vector<WidgetClass> classes;  // alternatives: ASCII or multibyte, by "international"
  std::set<std::string> fixed = {};  // what the outer widget gives it
};

bool TableSets(const WidgetRow& row, const char* resource) {
  return std::any_of(row.resources.begin(), row.resources.end(), [&](const ResourceRow& set) {
    return set.name != nullptr && std::strcmp(set.name, resource) == 0;
  });
}

std::vector<InnerWidget> InnerWidgets(const WidgetRow& row) {
  const WidgetClass widgetClass = *row.widgetClass;
  std::vector<InnerWidget> inner;
  const std::string name = ClassName(widgetClass);
  if (name == "Text") {
    inner.push_back({"textSource", {asciiSrcObjectClass, multiSrcObjectClass}});
    inner.push_back({"textSink", {asciiSinkObjectClass, multiSinkObjectClass}});
    if (TableSets(row, XtNscrollVertical)) inner.push_back({"vScrollbar", {scrollbarWidgetClass}});
  } else if (name == "Viewport") {
    inner.push_back({"clip", {coreWidgetClass}, {"borderWidth", "borderColor"}});
    if (TableSets(row, XtNallowVert)) inner.push_back({"vertical", {scrollbarWidgetClass}});
  }
  return inner;
}

// The toolkit's default of a resource as an administrator would write it; empty when it is
// not a plain value.
std::string DefaultText(const XtResource& resource) {
  if (std::strcmp(resource.default_type, XtRString) == 0) {
    return resource.default_addr == nullptr ? std::string()
                                            : static_cast<const char*>(resource.default_addr);
  }
  if (std::strcmp(resource.default_type, XtRImmediate) == 0) {
    return std::to_string(reinterpret_cast<long>(resource.default_addr));
  }
  return {};
}

struct Setting {
  std::string name;
  std::string value;
};

// The appearance resources of these classes that nothing sets, with the toolkit's defaults.
std::vector<Setting> Settable(const std::vector<WidgetClass>& classes,
                              const std::set<std::string>& setByProgram) {
  std::vector<Setting> settings;
  for (const char* wanted : kAppearanceResources) {
    if (setByProgram.count(wanted) != 0) continue;
    for (WidgetClass widgetClass : classes) {
      XtInitializeWidgetClass(widgetClass);
      XtResourceList list = nullptr;
      Cardinal count = 0;
      XtGetResourceList(widgetClass, &list, &count);
      const XtResource* begin = list;
      const XtResource* end = list + count;
      const XtResource* found = std::find_if(begin, end, [&](const XtResource& resource) {
        return std::strcmp(resource.resource_name, wanted) == 0;
      });
      std::string value = found == end ? std::string() : DefaultText(*found);
      XtFree(reinterpret_cast<char*>(list));
      if (value.empty()) continue;
      settings.push_back({wanted, value});
      break;
    }
  }
  return settings;
}

// A widget without a name is reached through its class.
std::string Component(const WidgetRow& row) {
  return row.name[0] != '\0' ? row.name : ClassName(*row.widgetClass);
}

std::string RowPath(const DialogLayout& layout, std::size_t index) {
  std::string path;
  for (int at = static_cast<int>(index); at != kShellRow; at = layout.rows[at].parent) {
    path = "." + Component(layout.rows[at]) + path;
  }
  return kApplicationClass + path;
}

std::set<std::string> SetByProgram(const DialogLayout& layout, const WidgetRow& row) {
  std::set<std::string> names(std::begin(kEveryWidgetResources), std::end(kEveryWidgetResources));
  for (const ResourceRow& resource : row.resources) {
    if (resource.name != nullptr) names.insert(resource.name);
  }
  const std::string prefix = Component(row) + ".";
  for (const char* computed : layout.computedResources) {
    if (std::strncmp(computed, prefix.c_str(), prefix.size()) == 0) {
      names.insert(computed + prefix.size());
    }
  }
  return names;
}

std::string Joined(const std::set<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

// A comment cannot be continued onto the next line, so each line of a value is a comment of
// its own.
void WriteKeyResources(std::ostream& out) {
  out << "!\n! The keys of every button and list, as translations each adds over its own (see\n"
      << "! KEYBOARD in qvxclientui(1)). Remove the \"!\" from every line of one to change it,\n"
      << "! for every widget of the class or, by a path below, for one.\n";
  for (const KeyResource& resource : kKeyResources) {
    const std::vector<std::string> lines = Lines(resource.translations);
    out << "!*" << resource.widgetClass << ".keyTranslations: ";
    for (std::size_t index = 0; index < lines.size(); ++index) {
      out << (index == 0 ? "" : "!\t") << lines[index]
          << (index + 1 < lines.size() ? "\\n\\\n" : "\n");
    }
  }
}

void WriteDialogResources(std::ostream& out, const DialogLayout& layout,
                          std::set<std::string>& pathsSeen) {
  out << "!\n! " << layout.dialogName;
  if (layout.title != nullptr) out << ", the window titled \"" << layout.title << "\"";
  if (layout.titleNote != nullptr) out << "\n! " << layout.titleNote;
  out << ".\n";
  if (layout.rowCount == 0) {
    out << "! Never mapped; the program sets its "
        << Joined({layout.computedResources.begin(), layout.computedResources.end()}) << ".\n";
    return;
  }
  out << "! Set at creation, not here: the shell's "
      << Joined({std::begin(kEveryShellResources), std::end(kEveryShellResources)})
      << ",\n! and below each widget the resources the program gives it.\n";
  for (std::size_t index = 0; index < layout.rowCount; ++index) {
    const WidgetRow& row = layout.rows[index];
    const std::string path = RowPath(layout, index);
    const std::set<std::string> fixed = SetByProgram(layout, row);
    out << "!\n! " << ClassName(*row.widgetClass) << " " << path
        << ": set at creation: " << Joined(fixed) << "\n";
    if (!pathsSeen.insert(path).second) {
      out << "! (the same path as in a dialog above: a value set there applies here too)\n";
    }
    for (const Setting& setting : Settable({*row.widgetClass}, fixed)) {
      out << "!" << path << "." << setting.name << ": " << setting.value << "\n";
    }
    for (const InnerWidget& inner : InnerWidgets(row)) {
      for (const Setting& setting : Settable(inner.classes, inner.fixed)) {
        out << "!" << path << "." << inner.name << "." << setting.name << ": " << setting.value
            << "\n";
      }
    }
  }
}

void WriteAppDefaults(std::ostream& out) {
  out << "! " << kApplicationClass << ": the X resources of qvxclientui.\n"
      << "!\n"
      << "! Nothing in this file is active: every resource line is commented out and holds the\n"
      << "! toolkit's own value. Remove the \"!\" in front of a line to change that resource for\n"
      << "! every user of this machine, or put the line into ~/.Xresources for one user.\n"
      << "!\n"
      << "! Texts (window titles, labels, buttons, messages) are no resources: the program sets\n"
      << "! them at creation, from its own English texts or from the translation files the\n"
      << "! client sends (see TRANSLATION FILES in qvxclientui(1)). The sizes, distances and\n"
      << "! placement it computes are set at creation too; each dialog below lists them.\n"
      << "!\n"
      << "! Every dialog is a shell of its own, named after the program and of this class: a\n"
      << "! path that several dialogs share (" << kApplicationClass
      << ".form.ok) sets the widget in all of them.\n"
      << "!\n"
      << "! Widgets draw with \"fontSet\" when a locale is in use (the client asks for it and\n"
      << "! the locale is neither C nor POSIX), with \"font\" otherwise.\n"
      << "!\n"
      << "! The default font set. When it misses a character set of the locale the program\n"
      << "! searches the server's 12-point fonts for a complete one.\n"
      << "!*xtDefaultFontSet: -*-*-*-R-*-*-*-120-*-*-*-*,*\n";
  WriteKeyResources(out);
  std::set<std::string> pathsSeen;
  for (const DialogLayout& layout : DialogLayouts()) WriteDialogResources(out, layout, pathsSeen);
}

void WriteTree(std::ostream& out, const DialogLayout& layout, int parent, int depth) {
  const std::string indent(static_cast<std::size_t>(depth) * 4, ' ');
  for (std::size_t index = 0; index < layout.rowCount; ++index) {
    const WidgetRow& row = layout.rows[index];
    if (row.parent != parent) continue;
    out << indent << ClassName(*row.widgetClass) << " "
        << (row.name[0] != '\0' ? row.name : "(no name)") << "\n";
    for (const InnerWidget& inner : InnerWidgets(row)) {
      std::string classes;
      for (WidgetClass widgetClass : inner.classes) {
        classes += (classes.empty() ? "" : "/") + ClassName(widgetClass);
      }
      out << indent << "    " << classes << " " << inner.name << "\n";
    }
    WriteTree(out, layout, static_cast<int>(index), depth + 1);
  }
}

void WriteHierarchy(std::ostream& out) {
  for (const DialogLayout& layout : DialogLayouts()) {
    out << ".SS " << layout.dialogName << "\n";
    if (layout.title != nullptr) {
      out << "The window titled \\(lq" << layout.title << "\\(rq"
          << (layout.titleNote != nullptr ? std::string(" ") + layout.titleNote : "") << ".\n";
    } else {
      out << "An unmapped window that another program can send messages to.\n";
    }
    out << ".PP\n.nf\n"
        << kApplicationClass << " "
        << (layout.shellName != nullptr ? layout.shellName : "qvxclientui") << "\n";
    WriteTree(out, layout, kShellRow, 1);
    out << ".fi\n";
  }
}

bool WriteManPage(const char* templatePath, std::ostream& out) {
  std::ifstream in(templatePath);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    if (line == kHierarchyMarker) {
      WriteHierarchy(out);
    } else if (line == kKeysMarker) {
      for (const KeyResource& resource : kKeyResources) {
        out << ".PP\n.nf\n\\fB*" << resource.widgetClass << ".keyTranslations\\fP:\n";
        for (const std::string& entry : Lines(resource.translations))
          out << "    " << entry << "\n";
        out << ".fi\n";
      }
    } else {
      out << line << "\n";
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: qvxclientui-widgetdoc TEMPLATE MANPAGE APPDEFAULTS\n";
    return 2;
  }
  XtToolkitInitialize();
  std::ostringstream manPage;
  if (!WriteManPage(argv[1], manPage)) {
    std::cerr << "qvxclientui-widgetdoc: cannot read " << argv[1] << "\n";
    return 1;
  }
  std::ofstream(argv[2]) << manPage.str();
  std::ofstream appDefaults(argv[3]);
  WriteAppDefaults(appDefaults);
  return appDefaults ? 0 : 1;
}
