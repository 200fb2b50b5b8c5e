// KORVEL's engine: fits OLS, SMA and MA lines to grouped bivariate data, tests
// them for a common slope and compares the lines. This header is the whole
// public interface; it needs no other header of the program.
//
//   korvel::DataRequest request;               // the variables by name
//   request.y = "Hwt";
//   request.x = "Bwt";
//   request.groups = {"Sex"};
//   const korvel::Data data = korvel::dataFromFile("input.txt", request);
//   korvel::AnalysisSettings settings;         // SMA with an intercept, 95 %, ...
//   const korvel::Fit fit = korvel::fit(data, settings);
//   korvel::RandomStream random;               // the resampling's stream
//   const korvel::CommonSlopeTest test =
//       korvel::testCommonSlope(fit, korvel::PValueFrom::ChiSquared, 1000, 0.05, random);
#pragma once

#include "korvel/analysis.h"
#include "korvel/columns.h"
#include "korvel/data.h"
#include "korvel/engine.h"
#include "korvel/errors.h"
#include "korvel/events.h"
#include "korvel/progress.h"
#include "korvel/random_stream.h"
#include "korvel/results.h"
#include "korvel/settings.h"
