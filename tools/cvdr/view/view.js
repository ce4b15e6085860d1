// The page of `cvdr view`. Everything it shows comes from the record element
// (the cvdr-dump/1 document). A long record also has an envelope element,
// placed before this script: the record without its samples and the lowest
// and highest value of each run of samples. The page then draws the overview
// from it at once, while the browser is still reading the record element, and
// takes the samples from the record element once that is read.
(function () {
  'use strict';

  var errors = [];
  window.addEventListener('error', function (event) {
    errors.push(String(event.message || event.type) + (event.lineno ? ' (line ' + event.lineno + ')' : ''));
  });

  var FULL_LIMIT = 10000;   // at most this many samples in view: draw every sample
  var PHASE_SUFFIXES = [['L1', 'L2', 'L3'], ['A', 'B', 'C'], ['R', 'S', 'T']];

  function byId(id) { return document.getElementById(id); }
  function element(tag, className, text) {
    var node = document.createElement(tag);
    if (className) node.className = className;
    if (text !== undefined) node.textContent = text;
    return node;
  }

  // ---- The record --------------------------------------------------------

  var timings = {start: performance.now()};
  var overview = JSON.parse(byId('envelope').textContent);
  function readRecord() {
    var full = JSON.parse(byId('record').textContent);
    timings.parsed = performance.now();
    return full;
  }
  function whenRead(action) {
    function guarded() {
      try { action(); } catch (error) { errors.push(String(error && error.stack || error)); }
    }
    if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', guarded);
    else guarded();
  }
  if (overview) {
    var page = run(overview.record, overview);
    whenRead(function () { page.takeSamples(readRecord()); page.finish(); });
  } else {
    whenRead(function () { run(readRecord(), null).finish(); });
  }

  function run(record, envelope) {
    var sampleCount = record.sampleCount;
    var interval = record.sampleInterval;
    var firstTime = record.firstSampleTime === null ? 0 : record.firstSampleTime;
    var lastTime = record.lastSampleTime === null ? 0 : record.lastSampleTime;
    var fullWindow = lastTime > firstTime ? [firstTime, lastTime] : [firstTime - 1, firstTime + 1];

    function timeOf(sample) { return firstTime + sample * interval; }
    function nearestSample(time) {
      return Math.min(sampleCount - 1, Math.max(0, Math.round((time - firstTime) / interval)));
    }
    function numberOf(value) {
      if (typeof value === 'number') return value;
      return value === 'inf' ? Infinity : value === '-inf' ? -Infinity : NaN;
    }
    function colourOf(colorRef) {  // COLORREF 0x00BBGGRR
      var red = colorRef & 0xff, green = (colorRef >> 8) & 0xff, blue = (colorRef >> 16) & 0xff;
      return '#' + [red, green, blue].map(function (part) { return (part < 16 ? '0' : '') + part.toString(16); }).join('');
    }
    function displayName(channel) { return channel.name || channel.key || '?'; }

    var channels = [];
    record.analog.forEach(function (channel, index) {
      channels.push({kind: 'analog', index: index, data: channel, name: displayName(channel),
                     unit: channel.unit || '', colour: colourOf(channel.color), shown: true});
    });
    record.digital.forEach(function (channel, index) {
      channels.push({kind: 'digital', index: index, data: channel, name: displayName(channel), unit: '',
                     colour: colourOf(channel.color), shown: true});
    });
    record.logical.forEach(function (channel, index) {
      var states = [];
      channel.transitions.forEach(function (transition) {
        if (transition[0] !== '' && states.indexOf(transition[0]) < 0) states.push(transition[0]);
      });
      channels.push({kind: 'logical', index: index, data: channel, name: displayName(channel), unit: '',
                     colour: colourOf(channel.color), shown: true, states: states});
    });
    var analogChannels = channels.filter(function (c) { return c.kind === 'analog'; });

    // The value of an analog channel at a sample; null where invalid.
    function analogValue(channel, sample) {
      var data = channel.data;
      if (!data.values || sample < 0 || sample >= data.values.length || data.validity.charAt(sample) !== '1') return null;
      return numberOf(data.values[sample]);
    }
    // The transition in force at a sample; null before the first and beyond the channel.
    function transitionAt(channel, sample) {
      var transitions = channel.data.transitions, found = null;
      if (sample < 0 || sample >= channel.data.sampleCount) return null;
      for (var i = 0; i < transitions.length && transitions[i][1] <= sample; ++i) found = transitions[i];
      return found;
    }
    function stepLevel(channel, transition) {
      if (!transition) return null;
      if (channel.kind === 'digital') return transition[0] === 2 ? 1 : transition[0] === 1 ? 0 : null;
      return transition[0] === '' ? null : channel.states.indexOf(transition[0]);
    }
    // What a channel shows at a sample, as text: "" where invalid.
    function valueText(channel, sample) {
      if (channel.kind === 'analog') {
        var value = analogValue(channel, sample);
        return value === null ? '' : String(value);
      }
      var transition = transitionAt(channel, sample);
      if (channel.kind === 'digital') {
        var level = stepLevel(channel, transition);
        return level === null ? '' : String(level);
      }
      return transition ? transition[0] : '';
    }
    function valueAt(channel, sample) {
      return channel.kind === 'analog' ? analogValue(channel, sample) : stepLevel(channel, transitionAt(channel, sample));
    }

    // ---- Title ---------------------------------------------------------------

    function two(number) { return (number < 10 ? '0' : '') + number; }
    function triggerText() {
      var t = record.triggerTime;
      var micro = Date.UTC(t.tm_year + 1900, t.tm_mon, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec) * 1000 +
                  Math.round(numberOf(t.milliseconds) * 1000);
      if (!isFinite(micro)) return '(no trigger time)';
      var date = new Date(Math.floor(micro / 1000));
      var fraction = String(((micro % 1000000) + 1000000) % 1000000);
      while (fraction.length < 6) fraction = '0' + fraction;
      var text = date.getUTCFullYear() + '-' + two(date.getUTCMonth() + 1) + '-' + two(date.getUTCDate()) + ' ' +
                 two(date.getUTCHours()) + ':' + two(date.getUTCMinutes()) + ':' + two(date.getUTCSeconds()) + '.' + fraction;
      var zone = record.timeZone;
      if (!zone.valid) return text + ' (offset from UTC unknown)';
      var offset = zone.offset + zone.dstOffset, sign = offset < 0 ? '-' : '+';
      offset = Math.abs(offset);
      return text + ' UTC' + sign + two(Math.floor(offset / 3600)) + ':' + two(Math.floor(offset % 3600 / 60));
    }
    byId('title').textContent = record.file.description || record.file.name;
    byId('when').textContent = 'Trigger ' + triggerText() + ' \u00b7 ' + sampleCount + ' samples every ' +
        interval + ' ms \u00b7 ' + record.file.name;

    // ---- Fundamental and sequence components ----------------------------------

    function frequency() {
      var value = parseFloat(byId('frequency').value);
      return value > 0 && isFinite(value) ? value : 50;
    }
    // Full-cycle DFT over the cycle ending with the last sample at or before
    // `time`, weighed by e^(-j w t) with t from the trigger: RMS magnitude, and
    // the angle against a cosine whose peak falls on the trigger.
    function fundamental(channel, time) {
      var cycle = Math.round(1000 / (interval * frequency()));
      if (!(cycle >= 3) || cycle > sampleCount || !isFinite(time)) return null;
      var end = Math.min(sampleCount, Math.floor((time + interval * 1e-6 - firstTime) / interval) + 1);
      var data = channel.data;
      if (!data.values || end < cycle || end > Math.min(data.values.length, data.validity.length)) return null;
      var omega = 2 * Math.PI * frequency() / 1000, re = 0, im = 0;
      for (var i = end - cycle; i < end; ++i) {
        var value = analogValue(channel, i);
        if (value === null || !isFinite(value)) return null;
        re += value * Math.cos(omega * timeOf(i));
        im -= value * Math.sin(omega * timeOf(i));
      }
      var scale = Math.SQRT2 / cycle;
      return {re: re * scale, im: im * scale};
    }
    function polar(phasor) {
      var angle = Math.atan2(phasor.im, phasor.re) * 180 / Math.PI;
      if (angle <= -180) angle += 360;
      return {magnitude: Math.hypot(phasor.re, phasor.im), angle: angle};
    }
    function rotate(phasor, degrees) {
      var r = degrees * Math.PI / 180, c = Math.cos(r), s = Math.sin(r);
      return {re: phasor.re * c - phasor.im * s, im: phasor.re * s + phasor.im * c};
    }
    function sum3(a, b, c) { return {re: (a.re + b.re + c.re) / 3, im: (a.im + b.im + c.im) / 3}; }

    // Channels of one unit whose names (or else keys) end in L1/L2/L3, A/B/C or R/S/T.
    function phaseGroups() {
      var groups = [];
      ['name', 'key'].forEach(function (field) {
        var found = {};
        analogChannels.forEach(function (channel) {
          var text = (channel.data[field] || '').replace(/^[\[{]|[\]}]$/g, '');
          PHASE_SUFFIXES.forEach(function (suffixes) {
            suffixes.forEach(function (suffix, phase) {
              if (text.length <= suffix.length || text.slice(-suffix.length) !== suffix) return;
              var id = channel.unit + '\u0000' + text.slice(0, -suffix.length) + '\u0000' + suffixes.join('');
              found[id] = found[id] || {name: text.slice(0, -suffix.length) + suffixes.join('/'), phases: []};
              found[id].phases[phase] = found[id].phases[phase] || channel;
            });
          });
        });
        Object.keys(found).forEach(function (id) {
          var group = found[id];
          var taken = groups.some(function (g) { return g.phases.some(function (p) { return group.phases.indexOf(p) >= 0; }); });
          if (group.phases[0] && group.phases[1] && group.phases[2] && !taken) groups.push(group);
        });
      });
      return groups;
    }
    var groups = phaseGroups();
    function sequenceAt(group, time) {
      var p = group.phases.map(function (channel) { return fundamental(channel, time); });
      if (!p[0] || !p[1] || !p[2]) return null;
      return [sum3(p[0], p[1], p[2]),
              sum3(p[0], rotate(p[1], 120), rotate(p[2], 240)),
              sum3(p[0], rotate(p[1], 240), rotate(p[2], 120))].map(polar);
    }

    // ---- Lanes -----------------------------------------------------------------

    var lanes = [];
    var samplesReady = !envelope;  // the analog values are read
    var view = fullWindow.slice();
    var cursors = {hover: null, a: null, b: null};
    var nextFixed = 'a';
    var syncing = false;

    function invalidRuns(channel) {
      var runs = [];
      if (channel.kind !== 'analog') return runs;
      var ranges = channel.data.ranges, count = channel.data.sampleCount;
      for (var i = 0; i < ranges.length; ++i) {
        if (ranges[i][0]) continue;
        var end = i + 1 < ranges.length ? ranges[i + 1][1] : count;
        if (end > ranges[i][1]) runs.push([timeOf(ranges[i][1]) - interval / 2, timeOf(end - 1) + interval / 2]);
      }
      return runs;
    }

    function drawUnderlay(lane) {
      return function (context, area, graph) {
        context.save();
        context.fillStyle = 'rgba(128,128,128,0.25)';
        lane.channels.forEach(function (channel) {
          if (!channel.shown) return;
          invalidRuns(channel).forEach(function (run) {
            var left = graph.toDomXCoord(run[0]), right = graph.toDomXCoord(run[1]);
            context.fillRect(left, area.y, Math.max(1, right - left), area.h);
          });
        });
        var trigger = graph.toDomXCoord(0);
        context.strokeStyle = '#d00';
        context.lineWidth = 1.5;
        context.setLineDash([5, 3]);
        context.beginPath();
        context.moveTo(trigger, area.y);
        context.lineTo(trigger, area.y + area.h);
        context.stroke();
        context.restore();
      };
    }

    // Rows for an analog lane: [time, value, ...] for every sample in `window`
    // when few enough, else [time, [low, mid, high], ...] for the envelope's
    // runs (drawn as bands).
    function analogRows(lane, window) {
      var rows = [];
      var first = Math.max(0, Math.floor((window[0] - firstTime) / interval) - 1);
      var last = Math.min(sampleCount - 1, Math.ceil((window[1] - firstTime) / interval) + 1);
      var full = !envelope || (samplesReady && last - first <= FULL_LIMIT);
      lane.full = full;
      if (full) {
        for (var i = first; i <= last; ++i) {
          var row = [timeOf(i)];
          lane.channels.forEach(function (channel) {
            var value = analogValue(channel, i);
            row.push(value === null || !isFinite(value) ? null : value);
          });
          rows.push(row);
        }
        if (rows.length === 0) rows.push([firstTime].concat(lane.channels.map(function () { return null; })));
        return rows;
      }
      var bucket = envelope.bucket;
      for (var k = 0; k * bucket < sampleCount; ++k) {
        var bucketRow = [timeOf(Math.min(sampleCount - 1, k * bucket + (bucket - 1) / 2))];
        lane.channels.forEach(function (channel) {
          var low = envelope.analog[channel.index].low[k], high = envelope.analog[channel.index].high[k];
          bucketRow.push(low === null ? null : [low, (low + high) / 2, high]);
        });
        rows.push(bucketRow);
      }
      return rows;
    }

    function stepRows(channel) {
      var rows = [], transitions = channel.data.transitions, count = channel.data.sampleCount;
      transitions.forEach(function (transition) {
        if (transition[1] < count) rows.push([timeOf(transition[1]), stepLevel(channel, transition)]);
      });
      if (rows.length === 0 || rows[0][0] > firstTime) rows.unshift([firstTime, null]);
      rows.push([timeOf(Math.max(0, count - 1)) + interval / 2, rows[rows.length - 1][1]]);
      return rows;
    }

    function seriesOptions(lane, width) {
      var series = {};
      lane.channels.forEach(function (channel) { series[channel.name] = {strokeWidth: width}; });
      return series;
    }

    function interaction() {
      var model = Object.assign({}, Dygraph.defaultInteractionModel);
      model.dblclick = function () { setWindow(fullWindow.slice(), null); };
      return model;
    }

    function makeLane(kind, laneChannels, title) {
      var lane = {kind: kind, channels: laneChannels, title: title, graph: null};
      var box = element('div', 'lane ' + (kind === 'analog' ? 'analog' : 'step'));
      var legend = element('div', 'lane-legend');
      laneChannels.forEach(function (channel) {
        var item = element('span');
        var swatch = element('span', 'swatch');
        swatch.style.background = channel.colour;
        item.appendChild(swatch);
        item.appendChild(document.createTextNode(channel.name + (channel.unit ? ' [' + channel.unit + ']' : '')));
        legend.appendChild(item);
      });
      var chart = element('div', 'lane-chart');
      box.appendChild(legend);
      box.appendChild(chart);
      byId('lanes').appendChild(box);
      lane.box = box;
      lane.chart = chart;
      lanes.push(lane);
      return lane;
    }

    // Charts are made when their lane comes near the screen: a record of many
    // channels opens as fast as one of a few.
    function ensureGraph(lane) {
      if (lane.graph || !lanes.includes(lane)) return;
      var kind = lane.kind, laneChannels = lane.channels, chart = lane.chart;
      var options = {
        labels: ['t'].concat(laneChannels.map(function (c) { return c.name; })),
        colors: laneChannels.map(function (c) { return c.colour; }),
        dateWindow: view.slice(),
        legend: 'never',
        ylabel: lane.title,
        axes: {x: {drawAxis: true, axisLabelFormatter: function (x) { return x + ' ms'; }}},
        interactionModel: interaction(),
        underlayCallback: drawUnderlay(lane),
        drawCallback: function (graph, initial) { if (!initial) onDrawn(graph); },
        clickCallback: function (event) { placeFixed(timeAt(lane, event)); },
        animatedZooms: false,
        connectSeparatedPoints: false,
        axisLabelWidth: 56,
        yLabelWidth: 16,
        rightGap: 10
      };
      if (kind === 'analog') {
        options.fillAlpha = 0.6;
        options.file = analogRows(lane, view);
        options.customBars = !lane.full;
        options.series = seriesOptions(lane, lane.full ? 1 : 0.5);
      } else {
        var channel = laneChannels[0];
        options.stepPlot = true;
        options.file = stepRows(channel);
        options.strokeWidth = 1.5;
        options.fillGraph = channel.kind === 'digital';
        if (channel.kind === 'digital') {
          options.valueRange = [-0.3, 1.3];
          options.axes.y = {ticker: function () { return [{v: 0, label: '0'}, {v: 1, label: '1'}]; }};
        } else {
          var states = channel.states;
          options.valueRange = [-0.5, Math.max(1, states.length) - 0.5];
          options.axes.y = {ticker: function () {
            return states.map(function (state, i) { return {v: i, label: state}; });
          }};
        }
      }
      lane.graph = new Dygraph(chart, options.file, options);
      lane.lines = {};  // added after the chart, which empties its element
      ['hover', 'a', 'b'].forEach(function (name) {
        lane.lines[name] = element('div', 'cursor-line ' + name);
        chart.appendChild(lane.lines[name]);
      });
      chart.addEventListener('mousemove', function (event) { setHover(timeAt(lane, event)); });
      chart.addEventListener('wheel', function (event) { wheelZoom(lane, event); }, {passive: false});
      if (lane.channels.length > 1) lane.graph.setVisibility(lane.channels.map(function (c) { return c.shown; }));
      drawCursors();
    }

    var observer = 'IntersectionObserver' in window ? new IntersectionObserver(function (entries) {
      entries.forEach(function (entry) {
        if (!entry.isIntersecting) return;
        observer.unobserve(entry.target);
        lanes.forEach(function (lane) { if (lane.box === entry.target) ensureGraph(lane); });
      });
    }, {rootMargin: '300px'}) : null;

    function drawLanesInSight() {
      var bottom = window.innerHeight + 300;
      lanes.forEach(function (lane) {
        if (!observer || lane.box.getBoundingClientRect().top < bottom) ensureGraph(lane);
        else observer.observe(lane.box);
      });
    }

    function graphsOf() { return lanes.filter(function (lane) { return lane.graph; }); }

    function timeAt(lane, event) {
      var rect = lane.graph.graphDiv.getBoundingClientRect();
      return lane.graph.toDataXCoord(event.clientX - rect.left);
    }

    function buildLanes() {
      lanes.forEach(function (lane) {
        if (lane.graph) lane.graph.destroy();
        if (observer) observer.unobserve(lane.box);
        lane.box.remove();
      });
      lanes = [];
      var byUnit = byId('by-unit').checked;
      if (byUnit) {
        var units = [];
        analogChannels.forEach(function (c) { if (units.indexOf(c.unit) < 0) units.push(c.unit); });
        units.forEach(function (unit) {
          makeLane('analog', analogChannels.filter(function (c) { return c.unit === unit; }), unit || '(no unit)');
        });
      } else {
        analogChannels.forEach(function (channel) { makeLane('analog', [channel], channel.unit); });
      }
      channels.forEach(function (channel) { if (channel.kind !== 'analog') makeLane('step', [channel], ''); });
      drawLanesInSight();
      applyVisibility();
      drawCursors();
    }

    // ---- Zoom, shared by every lane ----------------------------------------------

    function onDrawn(graph) {
      if (syncing) return;
      var range = graph.xAxisRange();
      if (Math.abs(range[0] - view[0]) > 1e-9 || Math.abs(range[1] - view[1]) > 1e-9) setWindow(range, graph);
      else drawCursors();
    }

    function setWindow(range, source) {
      var span = fullWindow[1] - fullWindow[0];
      var from = Math.max(fullWindow[0] - span * 0.02, range[0]);
      var to = Math.min(fullWindow[1] + span * 0.02, range[1]);
      if (!(to > from)) return;
      view = [from, to];
      syncing = true;
      try {
        graphsOf().forEach(function (lane) {
          var options = {dateWindow: view.slice()};
          if (lane.kind === 'analog' && envelope) {
            var wasFull = lane.full;
            var rows = analogRows(lane, view);
            if (lane.full || wasFull) {
              options.file = rows;
              options.series = seriesOptions(lane, lane.full ? 1 : 0.5);
              options.customBars = !lane.full;
            }
          }
          if (lane.graph !== source || options.file) lane.graph.updateOptions(options);
        });
      } finally {
        syncing = false;
      }
      drawCursors();
    }

    function wheelZoom(lane, event) {
      event.preventDefault();
      var at = timeAt(lane, event);
      var factor = event.deltaY > 0 ? 1.25 : 0.8;
      setWindow([at - (at - view[0]) * factor, at + (view[1] - at) * factor], null);
    }

    // ---- Cursors and read-outs ---------------------------------------------------

    function drawCursors() {
      graphsOf().forEach(function (lane) {
        Object.keys(lane.lines).forEach(function (name) {
          var line = lane.lines[name], time = cursors[name];
          if (time === null || time < view[0] || time > view[1]) { line.style.display = 'none'; return; }
          line.style.display = 'block';
          line.style.left = lane.graph.toDomXCoord(time) + 'px';
        });
      });
    }

    function setHover(time) {
      if (!isFinite(time) || sampleCount === 0) return;
      cursors.hover = timeOf(nearestSample(time));
      drawCursors();
      updateReadings();
    }

    function placeFixed(time) {
      if (!isFinite(time) || sampleCount === 0) return;
      cursors[nextFixed] = timeOf(nearestSample(time));
      nextFixed = nextFixed === 'a' ? 'b' : 'a';
      drawCursors();
      updateReadings();
    }

    function fixed(number) {
      if (number === null || number === undefined) return '';
      return Math.abs(number) >= 1e5 || (Math.abs(number) < 1e-3 && number !== 0) ? number.toExponential(4) : number.toFixed(4).replace(/\.?0+$/, '');
    }

    function degrees(angle) { return angle === null ? '' : angle.toFixed(2).replace(/^-(0\.00)$/, '$1'); }

    function cell(row, text, className) { row.appendChild(element('td', className, text)); }

    function updateReadings() {
      var at = cursors.hover !== null ? cursors.hover : cursors.a;
      var columns = ['channel', 'unit', 'cursor', 'A', 'B', 'B \u2212 A', '|X| (RMS)', '\u2220X (\u00b0)'];
      var head = byId('readout').tHead;
      if (!head.rows.length) {
        var headRow = head.insertRow();
        columns.forEach(function (name) { headRow.appendChild(element('th', '', name)); });
      }
      var title = 'Values';
      if (at !== null) title += ' \u00b7 cursor ' + fixed(at) + ' ms';
      if (cursors.a !== null) title += ' \u00b7 A ' + fixed(cursors.a) + ' ms';
      if (cursors.b !== null) title += ' \u00b7 B ' + fixed(cursors.b) + ' ms';
      if (cursors.a !== null && cursors.b !== null) title += ' \u00b7 B \u2212 A ' + fixed(cursors.b - cursors.a) + ' ms';
      title += ' \u00b7 fundamental at ' + frequency() + ' Hz over the cycle ending at the cursor';
      byId('readings-title').textContent = title;
      var body = byId('readout').tBodies[0];
      body.textContent = '';
      channels.forEach(function (channel) {
        if (!channel.shown) return;
        var row = body.insertRow();
        row.dataset.channel = channel.kind + ':' + channel.index;
        cell(row, channel.name, 'name');
        cell(row, channel.unit);
        ['hover', 'a', 'b'].forEach(function (name) {
          cell(row, cursors[name] === null ? '' : valueText(channel, nearestSample(cursors[name])), 'value-' + name);
        });
        var a = cursors.a === null ? null : valueAt(channel, nearestSample(cursors.a));
        var b = cursors.b === null ? null : valueAt(channel, nearestSample(cursors.b));
        cell(row, a !== null && b !== null ? fixed(b - a) : '');
        var phasor = channel.kind === 'analog' && at !== null ? fundamental(channel, at) : null;
        var reading = phasor ? polar(phasor) : null;
        cell(row, reading ? fixed(reading.magnitude) : '', 'magnitude');
        cell(row, reading ? degrees(reading.angle) : '', 'angle');
      });
      var sequence = byId('sequence');
      if (!sequence.tHead.rows.length) {
        var sequenceHead = sequence.tHead.insertRow();
        ['group', 'unit', '|X0|', '\u2220X0', '|X1|', '\u2220X1', '|X2|', '\u2220X2'].forEach(function (name) {
          sequenceHead.appendChild(element('th', '', name));
        });
      }
      sequence.tBodies[0].textContent = '';
      groups.forEach(function (group) {
        var row = sequence.tBodies[0].insertRow();
        cell(row, group.name, 'name');
        cell(row, group.phases[0].unit);
        var components = at === null ? null : sequenceAt(group, at);
        for (var k = 0; k < 3; ++k) {
          cell(row, components ? fixed(components[k].magnitude) : '');
          cell(row, components ? degrees(components[k].angle) : '');
        }
      });
    }

    // ---- Channel list ------------------------------------------------------------

    function applyVisibility() {
      lanes.forEach(function (lane) {
        var anyShown = lane.channels.some(function (c) { return c.shown; });
        var hidden = lane.box.style.display === 'none';
        lane.box.style.display = anyShown ? '' : 'none';
        if (!lane.graph) return;
        if (lane.channels.length > 1) {
          lane.graph.setVisibility(lane.channels.map(function (c) { return c.shown; }));
        }
        if (anyShown && hidden) lane.graph.resize();
      });
    }

    function buildChannelList() {
      var list = byId('channel-list');
      channels.forEach(function (channel) {
        var label = element('label');
        var box = element('input');
        box.type = 'checkbox';
        box.checked = true;
        box.addEventListener('change', function () {
          channel.shown = box.checked;
          applyVisibility();
          drawCursors();
          updateReadings();
        });
        var swatch = element('span', 'swatch');
        swatch.style.background = channel.colour;
        label.appendChild(box);
        label.appendChild(swatch);
        label.appendChild(document.createTextNode(channel.name));
        label.title = channel.name + (channel.unit ? ' [' + channel.unit + ']' : '') + ' \u00b7 ' + channel.data.key;
        list.appendChild(label);
      });
    }

    // ---- Self-test ---------------------------------------------------------------

    // "#timing": when the page was drawn and the record read. "#selftest=T": zooms to a window around T ms, puts the cursors at T and
    // at the trigger, and writes what the page then shows into #selftest.
    function selfTest(at) {
      lanes.forEach(ensureGraph);
      timings.ensured = performance.now();
      var before = lanes.length ? lanes[0].graph.xAxisRange() : null;
      var span = (fullWindow[1] - fullWindow[0]) / 8;
      setWindow([at - span, at + span], null);
      timings.zoomed = performance.now();
      setHover(at);
      timings.hovered = performance.now();
      cursors.a = null;
      cursors.b = null;
      nextFixed = 'a';
      placeFixed(at);
      placeFixed(0);
      var readings = {};
      Array.prototype.forEach.call(byId('readout').tBodies[0].rows, function (row) {
        readings[row.dataset.channel] = {
          cursor: row.querySelector('.value-hover').textContent,
          magnitude: row.querySelector('.magnitude').textContent,
          angle: row.querySelector('.angle').textContent
        };
      });
      var phasors = analogChannels.map(function (channel) {
        var phasor = fundamental(channel, at);
        return phasor ? polar(phasor) : null;
      });
      var sequence = groups.map(function (group) {
        return {name: group.name, phases: group.phases.map(function (c) { return c.index; }), components: sequenceAt(group, at)};
      });
      return {
        errors: errors,
        lanes: lanes.map(function (lane) {
          return {kind: lane.kind, series: lane.graph.getLabels().slice(1), rows: lane.graph.numRows(),
                  canvases: lane.box.querySelectorAll('canvas').length};
        }),
        before: before,
        after: lanes.length ? lanes.map(function (lane) { return lane.graph.xAxisRange(); }) : [],
        cursor: cursors.hover,
        readings: readings,
        phasors: phasors,
        sequence: sequence,
        timings: timings
      };
    }

    // ---- Start -------------------------------------------------------------------

    function takeSamples(full) {
      samplesReady = true;
      analogChannels.forEach(function (channel) {
        channel.data.values = full.analog[channel.index].values;
        channel.data.validity = full.analog[channel.index].validity;
      });
      setWindow(view.slice(), null);
      updateReadings();
    }

    function finish() {
      timings.read = performance.now();
      if (location.hash === '#timing') {
        byId('selftest').textContent = JSON.stringify({errors: errors, timings: timings, lanes: lanes.length,
                                                        drawn: graphsOf().length});
        byId('record').textContent = '';
        return;
      }
      var test = /^#selftest=(.*)$/.exec(location.hash);
      if (!test) return;
      var report;
      try {
        report = selfTest(parseFloat(test[1]));
      } catch (error) {
        errors.push(String(error && error.stack || error));
        report = {errors: errors};
      }
      byId('selftest').textContent = JSON.stringify(report);
      byId('record').textContent = '';  // keeps a dump of the page's DOM small
    }

    try {
      buildChannelList();
      buildLanes();
      timings.drawn = performance.now();
      byId('by-unit').addEventListener('change', function () { buildLanes(); updateReadings(); });
      byId('frequency').addEventListener('change', updateReadings);
      byId('reset').addEventListener('click', function () { setWindow(fullWindow.slice(), null); });
      byId('clear-cursors').addEventListener('click', function () {
        cursors.a = cursors.b = null;
        nextFixed = 'a';
        drawCursors();
        updateReadings();
      });
      byId('axis-note').textContent = 'time in ms relative to the trigger';
      updateReadings();
    } catch (error) {
      errors.push(String(error && error.stack || error));
    }
    return {takeSamples: takeSamples, finish: finish};
  }
})();
