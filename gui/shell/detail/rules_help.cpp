#include "gui/shell/detail/rules_help.h"

namespace {

const char attribute_sample[] =
    "DECLS:\n"
    " conv := (4 * area * 3.14176) / (pow((perimeter), 2.0));\n"
    " areafraction := area / sons;\n"
    " bbrelation := aaxis / paxis;\n"
    " brightness := 0;\n"
    " FOR i IN area\n"
    "   brightness := brightness + image(region(i));\n"
    " ROF;\n"
    " IF area > 0 THEN\n"
    "   brightness := brightness / area;\n"
    " FI;\n"
    " FDC := 5;\n"
    "#DECLS\n";

const char logic_sample[] =
    "DECLS:\n"
    " conv := (4 * area * 3.14176) / (pow((perimeter), 2.0));\n"
    "#DECLS\n"
    "RULES:\n"
    "TD:\n"
    " area > 100 && area < 5000 && conv > 0.6 { round, mid-sized }\n"
    "BU:\n"
    " !(meangrey < 40) && (age >= 3 || conv > 0.8)\n"
    "#RULES\n";

const char fourier_sample[] =
    "DECLS:\n"
    " FDC := 7;\n"
    "#DECLS\n"
    "RULES:\n"
    "TD:\n"
    " area > 50\n"
    "FDs: 7 0.05 0 1 0 0 0 0 0 #FDs\n"
    "#RULES\n";

const char interval_sample[] =
    "RULES:\n"
    "TD:\n"
    " area > 20\n"
    "NNIV: 0.8\n"
    " area(100, 2000, 1.0);\n"
    " meangrey(50, 255, 0.5);\n"
    " orientation(-1.5, 1.5, 1.0);\n"
    "#NNIV\n"
    "#RULES\n";

}  // namespace

QStringList vx_rules_help_samples()
{
    return {QString::fromLatin1(attribute_sample), QString::fromLatin1(logic_sample),
            QString::fromLatin1(fourier_sample), QString::fromLatin1(interval_sample)};
}

QString vx_rules_help_text()
{
    const QStringList samples = vx_rules_help_samples();
    return QStringLiteral(
               "RULES HOWTO\n"
               "===========\n"
               "\n"
               "A rule file (\".rule\") holds any number of sections in any order:\n"
               "a declaration section, computed for every region, and a rule\n"
               "section that selects regions.\n"
               "\n"
               "  DECLS:  statements  #DECLS\n"
               "  RULES:  TD: rule  [BU: rule]  #RULES\n"
               "\n"
               "A rule may be followed by an interval part \"NNIV: ... #NNIV\" and\n"
               "then by a Fourier descriptor part \"FDs: ... #FDs\". \"BU:\" alone\n"
               "is allowed, \"BU:\" before \"TD:\" is not; an empty rule section and an\n"
               "empty rule are allowed. A later \"DECLS:\" section replaces an\n"
               "earlier one. Comments are \"{ ... }\" on one line.\n"
               "\n"
               "1. Values and names\n"
               "-------------------\n"
               "Numbers: digits with an optional point and decimals (7, 7., 7.25);\n"
               "no sign and no exponent. A minus sign is an operator, allowed alone\n"
               "only directly before a number (-2.5); write 0 - area, not -area.\n"
               "Attributes of the region: age ahead ambiguity area birth\n"
               "decompentropy greyentropy left meangrey perimeter right sons stddev\n"
               "volume maxwidth minwidth variance centroidX centroidY centroidXn\n"
               "centroidYn orientation paxisn aaxisn paxis aaxis minx maxx miny maxy\n"
               "meangreyn mingrey maxgrey border node.\n"
               "Of the image: width, height, scales.\n"
               "Identifiers: a lower-case letter, then lower-case letters, digits and\n"
               "'_'. A name is declared by its first occurrence and keeps its value\n"
               "from one region to the next. Upper case is for keywords only, and\n"
               "the language is case-sensitive.\n"
               "\n"
               "2. Expressions\n"
               "--------------\n"
               "  + - * / %     (* / % bind tighter; all left-associative;\n"
               "                 x / 0 is 0)\n"
               "  pow(x, y)  sqrt(x)  sin cos tan asin acos atan log (natural)\n"
               "  name[i]       element i of an array\n"
               "  region(i)     the position of the region's i-th pixel\n"
               "  image(p)      the grey value of the image at position p\n"
               "                (positions are row * width + column)\n"
               "  ( ... )\n"
               "\n"
               "3. Statements (each ends with ';', also the last one and those\n"
               "   inside IF and FOR; ';;' is an empty statement)\n"
               "--------------------------------------------------------------\n"
               "  name := expression;\n"
               "  name := ARRAY size;          an array of size zeros\n"
               "  name[i] := expression;\n"
               "  IF condition THEN statements [ELSE statements] FI;\n"
               "  FOR i IN count statements ROF;\n"
               "                               count is an attribute, a name or\n"
               "                               width/height/scales; the body runs\n"
               "                               with i = 0, 1, ... count - 1\n"
               "  FDC := n;                    n Fourier descriptor coefficients\n"
               "                               fdc_0 .. fdc_n-1 (and numfdc = n)\n"
               "\n"
               "Sample declaration section for the attribute (update) rule:\n"
               "\n") +
           samples[0] +
           QStringLiteral(
               "\n"
               "4. Rules: first-order logic\n"
               "---------------------------\n"
               "A rule is a formula of comparisons (< > <= >= =; there is no ==\n"
               "and no !=), joined by ! (not, binds tightest), && (and) and || (or);\n"
               "two comparisons in a row without && or || are an error.\n"
               "The top-down rule (TD:) is tried from the root downwards: once a\n"
               "region is a hit, its descendants are no longer top-down candidates.\n"
               "They, and the hit itself, are then tested with the bottom-up rule\n"
               "(BU:) from the leaves upwards. Without BU: only top-down hits count.\n"
               "\n") +
           samples[1] +
           QStringLiteral(
               "\n"
               "5. Shape classification by Fourier descriptors\n"
               "----------------------------------------------\n"
               "Declare the number of coefficients with \"FDC := <value>;\" in the\n"
               "declarations. After a rule, \"FDs: n t v1 .. vn #FDs\" accepts a\n"
               "region only when the Euclidean distance of its normalised contour\n"
               "descriptor of n coefficients to v1 .. vn is at most t. n must be a\n"
               "whole number. The first two values are always 0 and 1: the position\n"
               "drops out, and every magnitude is taken relative to the contour's\n"
               "main circle (frequency -1 or 1, the stronger). The sample accepts\n"
               "round regions: a circle has no other frequency, while a square's\n"
               "corners give about 0.11 in the seventh value.\n"
               "The \"Coeffs\" button of a region's FD view prints its block in this\n"
               "form; put the largest distance to accept in place of <Threshold>.\n"
               "\n") +
           samples[2] +
           QStringLiteral(
               "\n"
               "6. Nearest-neighbour classification by attribute intervals\n"
               "----------------------------------------------------------\n"
               "After a rule, \"NNIV: t\" and entries \"attribute(low, high, weight);\"\n"
               "(or a declared name instead of an attribute), closed by \"#NNIV\".\n"
               "A value inside its interval adds 0, one outside adds its distance\n"
               "to the interval divided by the interval's width; the region passes\n"
               "when the sum is at most t, and only then is the rule tested.\n"
               "\n") +
           samples[3];
}
