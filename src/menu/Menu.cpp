#include "Menu.h"

#include <cctype>

#include "console.h"

static const std::vector<std::string> noneList{"none"};

Menu::Menu()
{
    prof.columns.assign(4, noneList);
}

void Menu::clear_profile()
{
    filters_pending = 'y';
    prof.n_lines = 0;
    input_changed = 'n';
    prof.columns.assign(4, noneList);
    prof.filter_maps.clear();
}

void Menu::readChoice()
{
    entry = readWord();
    choice = static_cast<char>(std::tolower(static_cast<unsigned char>(entry[0])));
}
