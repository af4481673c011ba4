#include "datagen/DataProduct.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace datagen {

namespace {

// Function-local so registrations from other files' static initialisers
// never meet an unconstructed vector.
std::vector<DataProduct>& registry()
{
    static std::vector<DataProduct> products;
    return products;
}

} // namespace

DataProductRegistration::DataProductRegistration(const DataProduct& product)
{
    assert(std::none_of(registry().begin(), registry().end(),
                        [&](const DataProduct& other) { return std::strcmp(other.fileName, product.fileName) == 0; }) &&
           "two products write the same file");
    registry().push_back(product);
}

std::vector<DataProduct> dataProducts()
{
    std::vector<DataProduct> products = registry();
    std::sort(products.begin(), products.end(),
              [](const DataProduct& a, const DataProduct& b) { return std::strcmp(a.fileName, b.fileName) < 0; });
    return products;
}

} // namespace datagen
