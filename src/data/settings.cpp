#include "data/settings.h"

namespace korvel {

const char* methodName(Method method)
{
    switch (method) {
    case Method::OLS:
        return "OLS";
    case Method::SMA:
        return "SMA";
    default:
        return "MA";
    }
}

const char* transformName(Transform transform)
{
    switch (transform) {
    case Transform::Log10:
        return "log10";
    case Transform::Ln:
        return "ln";
    default:
        return "none";
    }
}

const char* transformPrefix(Transform transform)
{
    switch (transform) {
    case Transform::Log10:
        return "log ";
    case Transform::Ln:
        return "ln ";
    default:
        return "";
    }
}

const char* adjustmentName(PAdjustment adjustment)
{
    switch (adjustment) {
    case PAdjustment::Holm:
        return "holm";
    case PAdjustment::Bonferroni:
        return "bonferroni";
    case PAdjustment::Sidak:
        return "sidak";
    default:
        return "none";
    }
}

bool isLogTransform(Transform transform)
{
    return transform != Transform::None;
}

} // namespace korvel
