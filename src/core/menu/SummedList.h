#pragma once

#include "core/kitchen/ShopSections.h"
#include "core/menu/ShoppingList.h"

// The week's shopping list added up and in the order of the shop.
namespace ShoppingList {

// The lines still to buy, added up where they name the same ingredient and
// grouped by shop section. Each recipe's lines count once however often it is
// planned, as the list by recipe shows them; headings are left out.
QList<ShopSections::Section> bySection(
    const List& list, const ShopSections& sections = ShopSections::shipped());

// The summed list as a page for the print window, with the planned recipes
// and the titles no recipe bears; the recipes' texts are shown as they read,
// not as HTML.
QString summedHtml(const List& list, const QList<ShopSections::Section>& sections);

// The summed list as the plain text of a mail to a phone.
QString summedText(const List& list, const QList<ShopSections::Section>& sections);

} // namespace ShoppingList
