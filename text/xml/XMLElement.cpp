#include "text/xml/XMLElement.h"

#include <type_traits>

XMLElement::~XMLElement() {
  // Every element is emptied of its children before it dies, so no destructor below recurses.
  std::vector<XMLElement> doomed = std::move(children);
  while (!doomed.empty()) {
    std::vector<XMLElement> grandchildren = std::move(doomed.back().children);
    doomed.pop_back();
    for (XMLElement& element : grandchildren) doomed.push_back(std::move(element));
  }
}

// Growing a child list must move the elements, never copy whole subtrees.
static_assert(std::is_nothrow_move_constructible_v<XMLElement>);
