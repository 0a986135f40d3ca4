#include "analyse/display/region_texts.h"

#include <cstdio>

#include "analyse/attributes/attribute_print.h"
#include "analyse/attributes/detail/attribute_text.h"
#include "analyse/detail/text_builder.h"

namespace {

// The lines that va_attribute_output and attribute_output share, up to the
// node's age.
void quotient_lines(text_builder& t, const tregionnode* node)
{
    t.printf("Convexity Quotient %f\n", node->convexity_quotient)
        .printf("Area Quotient %f\n", node->area_quotient)
        .printf("Contrast Quotient %f\n", node->contrast_quotient)
        .printf("Roundness Quotient %f\n", node->roundness_quotient)
        .printf("1 - (Birth Quotient) %f\n", node->birth_quotient)
        .printf("Min Diameter Quotient %f\n", node->min_diameter_quotient)
        .printf("Max Diameter Quotient %f\n", node->max_diameter_quotient)
        .printf("Scale Quotient %f\n", node->life_quotient)
        .printf("Node Birth %d\n", node->birth)
        .printf("Node Age %d\n", node->age);
}

void fixed_field_lines(text_builder& t, const tregionnode* node)
{
    t.printf("\nTree File Index %d\n", node->file_index)
        .printf("\nRegion Index %d\n", node->label)
        .printf("Birth %d\n", node->birth)
        .printf("Age %d\n", node->age)
        .printf("Life Quotient %f\n", node->life_quotient)
        .printf("Max Width %d\n", node->max_width)
        .printf("Min Width %d\n", node->min_width)
        .printf("Sons %d\n", node->nsons)
        .printf("Size %d\n", node->size)
        .printf("Volume %d\n", node->volume)
        .printf("Contour Length %d\n", node->contour_size)
        .printf("Left %d Right %d Ahead %d\n", node->left, node->right, node->ahead)
        .printf("Inner Contour %d\n", node->inner_contour_size)
        .printf("Entropyy %f\n", node->greyentropy)
        .printf("Homogenity %f\n", node->homogeneity)
        .printf("Variance %f\n", node->variance)
        .printf("Standard Deviation %f\n", node->stddev)
        .printf("Mean Greyvalue %d\n", node->meangrey)
        .printf("Areafraction %f\n", node->areafraction)
        .printf("Decomposition Entropyy %f\n", node->decompentropy)
        .printf("Contrast %f\n", node->contrast)
        .printf("Roundness %f\n", node->roundness)
        .printf("Convexity %f\n", node->convexity)
        .printf("Ambiguity %d\n", node->ambiguity);
}

}  // namespace

char* va_fixed_attribute_output(tregionnode* node)
{
    text_builder t;
    const attrib_array* vector = node->attribs;
    if (vector == nullptr) {
        fixed_field_lines(t, node);
        return t.heap_copy();
    }
    t.printf("\nTree File Index %d\nRegion Label %d\n", node->file_index, node->label);
    t.str() += attribute_text(vector, [vector](char* b) { print_attribs(vector, b); });
    return t.heap_copy();
}

char* va_attribute_output(tregionnode* node)
{
    text_builder t;
    t.append("\n");
    quotient_lines(t, node);
    t.printf("Entropyy %f\n", node->greyentropy)
        .printf("Significance %f\n\n", node->significance)
        .printf("CentroidX %f\n", node->centroidX)
        .printf("CentroidY %f\n", node->centroidY)
        .printf("CentroidXn %f\n", node->centroidXn)
        .printf("CentroidYn %f\n", node->centroidYn)
        .printf("Orientation %f\n", node->orientation)
        .printf("PAxisn %f\n", node->paxisn)
        .printf("AAxisn %f\n", node->aaxisn)
        .printf("PAxis %d\n", node->paxis)
        .printf("AAxis %d\n", node->aaxis);
    return t.heap_copy();
}

void attribute_output(tregionnode* node)
{
    text_builder t;
    quotient_lines(t, node);
    t.printf("Decomp Entropyy %f\n", node->decompentropy)
        .printf("Significance %f\n\n", node->significance);
    std::fputs(t.str().c_str(), stdout);
}
