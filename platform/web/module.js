// Runs before the program: what the runtime does with the program's
// error output, and if the runtime itself fails (page.js shows it).
Module['printErr'] = function(text) {
  console.error(text);
};
Module['onAbort'] = function() {
  kelvaroFailure('crash', true, true);
};
