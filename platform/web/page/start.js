// The page's first script, written into the page just after the canvas
// and its messages, so that it runs as soon as they are parsed: what must
// be in place before the program starts, and the WebGL context made now,
// while the program's script is still on its way, rather than after.
// What it and the program hand each other: contract.md.

// Shows the message NAME (its data-failure) in the canvas's place, which
// screen readers read out as an alert, or takes it away. FOR_GOOD, the
// program cannot go on, and its controls and Pause are turned off, those
// parsed after it stopped as well.
function kelvaroFailure(name, shown, forGood) {
  document.querySelector('[data-failure="' + name + '"]').hidden = !shown;
  document.getElementById('canvas').hidden = shown;
  if (!forGood) return;
  var turnOff = function() {
    document.querySelectorAll('button[data-key], #pause').forEach(function(button) {
      button.disabled = true;
    });
  };
  turnOff();
  addEventListener('DOMContentLoaded', turnOff);
}

// If either of the page's scripts did not load (a 404, a half-copied
// folder), the page says so where the canvas would otherwise stay blank
// or still: without kelvaro.js there is no program, and without page.js
// its timers are never let go and its controls do nothing. By the time
// the page is parsed, both have run or failed, and the browser has
// already reported the failed request in the console.
addEventListener('DOMContentLoaded', function() {
  if (typeof Module == 'undefined' || typeof kelvaroPage == 'undefined') kelvaroFailure('script', true, true);
});

// What a GLUT_DOUBLE window asks of its context. A canvas has one context
// of a kind: the program, asking for its own with these, is given this
// one. Without WebGL there is none (getContext gives null), and the
// program says so.
var kelvaroContextAttributes = {alpha: false, depth: false, stencil: false, antialias: false};
document.getElementById('canvas').getContext('webgl', kelvaroContextAttributes);
