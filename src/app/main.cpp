// KORVEL: fits lines to grouped measurements and compares them among groups.
// The settings and data-input screens alternate with analyses; every analysis
// is appended to one report file.
#include <gsl/gsl_errno.h>

#include "app/dialogue_run.h"

int main()
{
    gsl_set_error_handler_off();
    return runDialogue();
}
