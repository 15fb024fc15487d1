#include "report/render/EscritorPDF.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFWriter.hh>

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <exception>

#include "report/render/PaginasReporte.h"

namespace qavi {

namespace {

QByteArray Xml(const QString& s) { return s.toHtmlEscaped().toUtf8(); }

// The XMP packet says the same as the information dictionary, so viewers that read either agree.
QByteArray MetadatosXmp(const TConfigPDF& c) {
  QByteArray x;
  x += "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
       "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
       "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
       "<rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\""
       " xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">\n";
  x += "<dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">" + Xml(c.sTitulo) + "</rdf:li></rdf:Alt></dc:title>\n";
  x += "<dc:description><rdf:Alt><rdf:li xml:lang=\"x-default\">" + Xml(c.sAsunto) +
       "</rdf:li></rdf:Alt></dc:description>\n";
  x += "<dc:creator><rdf:Seq><rdf:li>" + Xml(c.sAutor) + "</rdf:li></rdf:Seq></dc:creator>\n";
  x += "<xmp:CreatorTool>" + Xml(c.sCreador) + "</xmp:CreatorTool>\n";
  x += "</rdf:Description>\n</rdf:RDF>\n</x:xmpmeta>\n<?xpacket end=\"w\"?>";
  return x;
}

QPageSize TamanoPagina(const QSizeF& mm) {
  const QPageSize carta(QPageSize::Letter);
  if (qAbs(carta.size(QPageSize::Millimeter).width() - mm.width()) < 0.5 &&
      qAbs(carta.size(QPageSize::Millimeter).height() - mm.height()) < 0.5)
    return carta;
  return QPageSize(mm, QPageSize::Millimeter);
}

// QPdfWriter writes only title and creator; author and subject go in afterwards.
bool CompletaInformacion(const QByteArray& pdf, const TConfigPDF& c, QByteArray& salida, QString& error) {
  try {
    QPDF doc;
    doc.processMemoryFile("reporte", pdf.constData(), static_cast<size_t>(pdf.size()));
    QPDFObjectHandle trailer = doc.getTrailer();
    QPDFObjectHandle info = trailer.getKey("/Info");
    if (!info.isDictionary()) {
      info = doc.makeIndirectObject(QPDFObjectHandle::newDictionary());
      trailer.replaceKey("/Info", info);
    }
    info.replaceKey("/Title", QPDFObjectHandle::newUnicodeString(c.sTitulo.toStdString()));
    info.replaceKey("/Subject", QPDFObjectHandle::newUnicodeString(c.sAsunto.toStdString()));
    info.replaceKey("/Author", QPDFObjectHandle::newUnicodeString(c.sAutor.toStdString()));
    info.replaceKey("/Creator", QPDFObjectHandle::newUnicodeString(c.sCreador.toStdString()));
    QPDFWriter w(doc);
    w.setOutputMemory();
    w.write();
    auto buffer = w.getBufferSharedPointer();
    salida = QByteArray(reinterpret_cast<const char*>(buffer->getBuffer()), static_cast<qsizetype>(buffer->getSize()));
    return true;
  } catch (const std::exception& e) {
    error = QStringLiteral("No fue posible completar los datos del PDF: %1").arg(QString::fromLocal8Bit(e.what()));
  } catch (...) {
    error = QStringLiteral("No fue posible completar los datos del PDF.");
  }
  return false;
}

}  // namespace

bool EscribePDF(const TPaginasReporte& paginas, const QString& ruta, const TConfigPDF& config,
                QString& error, const TProgresoPDF& progreso) {
  if (paginas.Cuenta() == 0) {
    error = QStringLiteral("El reporte no tiene páginas.");
    return false;
  }
  QBuffer memoria;
  memoria.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&memoria);
    pdf.setResolution(static_cast<int>(TPaginasReporte::kUnidadesPorPulgada));
    pdf.setPageLayout(QPageLayout(TamanoPagina(paginas.PapelMM()), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    pdf.setTitle(config.sTitulo);
    pdf.setCreator(config.sCreador);
    pdf.setDocumentXmpMetadata(MetadatosXmp(config));
    QPainter pintor;
    if (!pintor.begin(&pdf)) {
      error = QStringLiteral("No fue posible iniciar el PDF.");
      return false;
    }
    for (int i = 0; i < paginas.Cuenta(); ++i) {
      if (i > 0) pdf.newPage();
      paginas.Dibuja(pintor, pdf, i);
      if (progreso && !progreso(i + 1, paginas.Cuenta())) {
        pintor.end();
        error = QStringLiteral("Exportación cancelada.");
        return false;
      }
    }
    pintor.end();
  }
  QByteArray completo;
  if (!CompletaInformacion(memoria.data(), config, completo, error)) return false;

  QSaveFile archivo(ruta);
  if (!archivo.open(QIODevice::WriteOnly) || archivo.write(completo) != completo.size() || !archivo.commit()) {
    error = QStringLiteral("No fue posible escribir el archivo %1: %2").arg(ruta, archivo.errorString());
    return false;
  }
  return true;
}

}  // namespace qavi
