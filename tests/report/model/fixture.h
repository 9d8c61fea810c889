#pragma once
// A clean engine on the virtual printer for every model test.

#include "report/printer/printer_backend.h"
#include "report/printer/printing_context.h"
#include "report/model/engine_context.h"

#include <gtest/gtest.h>

#include <memory>

namespace pemvora::report::modeltest {

class ModelFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetEngine();
        resetPrinting(std::make_unique<VirtualPrinterBackend>());
    }
    void TearDown() override { resetEngine(); }
};

} // namespace pemvora::report::modeltest
